// The function reference in docs/functions.md held against the plug-in: every
// prototype the plug-in registers, and every error code its code raises with
// the code's message, must appear there.
#include "StartedPlugin.h"

#include <FMWrapper/HostSide.h>
#include <platform/utf.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

const std::filesystem::path kSource = ZERA_SOURCE_DIR;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// For each place where `marker` stands in `text`, what follows it up to the
// first of `stops`.
std::vector<std::string> after(const std::string& text, const std::string& marker, const std::string& stops) {
    std::vector<std::string> found;
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
        const std::size_t begin = at + marker.size();
        found.push_back(text.substr(begin, text.find_first_of(stops, begin) - begin));
    }
    return found;
}

// The names of the error constants that the plug-in's code raises.
std::set<std::string> raisedConstants() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSource / "plugin")) {
        if (entry.path().extension() != ".cpp") continue;
        for (const std::string& name : after(readFile(entry.path()), "LastError::raise(", ",)")) {
            if (name.rfind("kErr", 0) == 0) names.insert(name);
        }
    }
    return names;
}

class Reference : public StartedPlugin {
protected:
    const std::string reference = readFile(kSource / "docs/functions.md");
};

// The registered prototype as FileMaker's own reference writes one: the
// parameters a call may leave out in braces, "ZERA_Version( { type } )".
std::string documentedFormat(const fmw::FunctionEntry& function) {
    const std::string prototype = platform::utf16ToUtf8(function.prototype);
    const std::size_t open = prototype.find("( ");
    const std::size_t close = prototype.rfind(" )");
    if (open == std::string::npos || close == std::string::npos || close <= open) return prototype;
    std::string format = prototype.substr(0, open + 2);
    std::size_t start = open + 2;
    for (int index = 0; start <= close; ++index) {
        std::size_t end = prototype.find(" ; ", start);
        if (end == std::string::npos || end > close) end = close;
        const std::string parameter = prototype.substr(start, end - start);
        format += (index > 0 ? " ; " : "") + (index >= function.minArgs ? "{ " + parameter + " }" : parameter);
        start = end + 3;
    }
    return format + " )";
}

TEST_F(Reference, ShowsEveryRegisteredPrototype) {
    const auto functions = fmw::registeredFunctions();
    ASSERT_EQ(functions.size(), 9u);
    for (const fmw::FunctionEntry& function : functions) {
        const std::string format = documentedFormat(function);
        EXPECT_NE(reference.find("**Format** `" + format + "`"), std::string::npos) << format;
        EXPECT_NE(reference.find("## " + platform::utf16ToUtf8(function.name) + "\n"), std::string::npos);
    }
}

TEST_F(Reference, ListsEveryRaisedCodeWithItsMessage) {
    // "kErrFileAccess = -13000;" in the header, "CodeRow{-13000, "Unknown file ..."}" in the table.
    std::map<std::string, std::string> values;
    const std::string header = readFile(kSource / "plugin/functions/ErrorCodes.h");
    for (const std::string& definition : after(header, "constexpr std::int32_t ", ";")) {
        values[definition.substr(0, definition.find(' '))] = definition.substr(definition.find("= ") + 2);
    }
    std::map<std::string, std::string> messages;
    for (const std::string& row : after(readFile(kSource / "plugin/functions/ErrorCodes.cpp"), "CodeRow{", "}")) {
        const std::size_t open = row.find('"');
        messages[row.substr(0, row.find(','))] = row.substr(open + 1, row.rfind('"') - open - 1);
    }
    const std::set<std::string> raised = raisedConstants();
    EXPECT_GE(raised.size(), 5u);
    for (const std::string& name : raised) {
        ASSERT_TRUE(values.count(name)) << name;
        const std::string& code = values[name];
        ASSERT_TRUE(messages.count(code)) << code;
        EXPECT_NE(reference.find("| " + code + " | " + messages[code] + " |"), std::string::npos) << code;
    }
}

}  // namespace
