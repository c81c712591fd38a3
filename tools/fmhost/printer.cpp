#include "printer.h"

#include "host_functions.h"
#include "platform/utf.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <variant>

namespace fmhost {
namespace {

// FileMaker ends a line with a carriage return; a terminal wants a line feed.
std::string displayText(std::u16string_view text) {
    std::string utf8 = platform::utf16ToUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
        } else {
            out.push_back(utf8[i]);
        }
    }
    return out;
}

std::string describeContainer(const fmw::Container& container) {
    std::vector<std::string> parts;
    if (container.imageSize)
        parts.push_back(std::to_string(container.imageSize->first) + " x " +
                        std::to_string(container.imageSize->second));
    if (container.fileName) parts.push_back("file \"" + platform::utf16ToUtf8(*container.fileName) + "\"");
    std::string streams;
    for (const fmw::Stream& stream : container.streams) {
        streams += streams.empty() ? "streams: " : ", ";
        streams += stream.type + " " + std::to_string(stream.bytes.size()) +
                   (stream.bytes.size() == 1 ? " byte" : " bytes");
    }
    parts.push_back(streams.empty() ? "no streams" : streams);
    std::string out = "<container";
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i == 0 ? " " : ", ") + parts[i];
    return out + ">";
}

std::string quoted(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '"' || utf8[i] == '\\') out += '\\';
        if (utf8.substr(i, 2) == "\xC2\xB6") out += '\\';  // a pilcrow that is no line break
        if (utf8[i] == '\r') out += "\xC2\xB6";
        else out += utf8[i];
    }
    return out + "\"";
}

std::string rangeOf(int minArgs, int maxArgs) {
    return "[" + std::to_string(minArgs) + ".." + (maxArgs < 0 ? std::string() : std::to_string(maxArgs)) + "]";
}

}  // namespace

std::string formatValue(const fmw::Value& value) {
    switch (value.type()) {
        case fmw::Value::Type::Empty: return {};
        case fmw::Value::Type::Text: return displayText(value.textValue());
        case fmw::Value::Type::Number: return platform::utf16ToUtf8(fmw::numberToText(value.numberValue()));
        case fmw::Value::Type::Container: return describeContainer(value.containerValue());
    }
    return {};
}

std::string formatCalculation(const Expr& expr) {
    return std::visit(
        [](const auto& node) -> std::string {
            using Node = std::decay_t<decltype(node)>;
            if constexpr (std::is_same_v<Node, TextLiteral>) {
                return quoted(node.utf8);
            } else if constexpr (std::is_same_v<Node, NumberLiteral>) {
                return node.spelling;
            } else if constexpr (std::is_same_v<Node, VariableRef>) {
                return node.name;
            } else if constexpr (std::is_same_v<Node, Call>) {
                if (!node.parenthesized) return node.name;
                if (node.arguments.empty()) return node.name + "()";
                std::string out = node.name + "( ";
                for (std::size_t i = 0; i < node.arguments.size(); ++i)
                    out += (i == 0 ? "" : " ; ") + formatCalculation(*node.arguments[i]);
                return out + " )";
            } else if constexpr (std::is_same_v<Node, Concatenation>) {
                std::string out;
                for (std::size_t i = 0; i < node.parts.size(); ++i)
                    out += (i == 0 ? "" : " & ") + formatCalculation(*node.parts[i]);
                return out;
            } else {
                const std::string operand = formatCalculation(*node.operand);
                return std::holds_alternative<Concatenation>(node.operand->node) ? "-( " + operand + " )"
                                                                                  : "-" + operand;
            }
        },
        expr.node);
}

std::string formatBanner(const PluginStrings& strings, const std::vector<fmw::FunctionEntry>& functions) {
    struct Row {
        std::string prototype;
        std::string range;
    };
    std::vector<Row> plugin;
    for (const fmw::FunctionEntry& f : functions) {
        const std::u16string& shown = f.prototype.empty() ? f.name : f.prototype;
        plugin.push_back({platform::utf16ToUtf8(shown), rangeOf(f.minArgs, f.maxArgs)});
    }
    std::vector<Row> host;
    for (const HostFunction& f : hostFunctions())
        host.push_back({std::string(f.prototype), rangeOf(f.minArgs, f.maxArgs)});

    std::size_t width = 0;
    for (const auto* rows : {&plugin, &host})
        for (const Row& row : *rows) width = std::max(width, row.prototype.size());
    auto table = [&](const std::vector<Row>& rows) {
        std::string out;
        for (const Row& row : rows)
            out += "  " + row.prototype + std::string(width - row.prototype.size() + 4, ' ') + row.range + "\n";
        return out;
    };

    std::string out = displayText(strings.name) + "\n";
    std::string description = displayText(strings.description);
    std::size_t start = 0;
    while (start < description.size()) {
        std::size_t end = description.find('\n', start);
        if (end == std::string::npos) end = description.size();
        out += "  " + description.substr(start, end - start) + "\n";
        start = end + 1;
    }
    out += "options: " + displayText(strings.options) + "\n";
    out += "functions (" + std::to_string(plugin.size()) + "):\n" + table(plugin);
    out += "host functions:\n" + table(host);
    return out;
}

std::string formatDiagnostic(std::string_view source, const Diagnostic& diagnostic) {
    return std::string(source) + ":" + std::to_string(diagnostic.position.line) + ":" +
           std::to_string(diagnostic.position.column) + ": error: " + diagnostic.message;
}

}  // namespace fmhost
