// Fuzzes the calculation parser with arbitrary scripts. Beyond not
// crashing, it holds the parser to what the host relies on: a script is
// either rejected with diagnostics and no statements, or accepted whole;
// every position lies inside the text; no tree is deeper than the limit.
#include "lexer.h"
#include "parser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <type_traits>
#include <variant>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

int depthOf(const fmhost::Expr& expr) {
    return std::visit(
        [](const auto& node) -> int {
            using Node = std::decay_t<decltype(node)>;
            if constexpr (std::is_same_v<Node, fmhost::Call>) {
                int deepest = 0;
                for (const auto& argument : node.arguments) deepest = std::max(deepest, depthOf(*argument));
                return deepest + 1;
            } else if constexpr (std::is_same_v<Node, fmhost::Concatenation>) {
                int deepest = 0;
                for (const auto& part : node.parts) deepest = std::max(deepest, depthOf(*part));
                return deepest;
            } else if constexpr (std::is_same_v<Node, fmhost::Negation>) {
                return depthOf(*node.operand) + 1;
            } else {
                return 0;
            }
        },
        expr.node);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    const int lines = 1 + static_cast<int>(std::count(source.begin(), source.end(), '\n')) +
                      static_cast<int>(std::count(source.begin(), source.end(), '\r'));

    const fmhost::LexResult lexed = fmhost::lex(source);
    require(!lexed.tokens.empty() && lexed.tokens.back().kind == fmhost::TokenKind::End);

    const fmhost::ParsedScript script = fmhost::parseScript(source);
    require(script.errors.empty() || script.statements.empty());
    require(lexed.errors.empty() || !script.errors.empty());
    for (const fmhost::Diagnostic& error : script.errors) {
        require(!error.message.empty());
        require(error.position.line >= 1 && error.position.line <= lines && error.position.column >= 1);
    }
    for (const fmhost::Statement& statement : script.statements) {
        require(statement.expression != nullptr);
        require(statement.position.line >= 1 && statement.position.line <= lines);
        require(depthOf(*statement.expression) <= fmhost::kMaxNesting + 1);
    }
    if (fmhost::needsMoreInput(source)) require(!script.errors.empty());

    // Pieces read by a prompt are numbered from where they start.
    const fmhost::ParsedScript shifted = fmhost::parseScript(source, 100);
    require(shifted.errors.size() == script.errors.size());
    require(shifted.statements.size() == script.statements.size());
    return 0;
}
