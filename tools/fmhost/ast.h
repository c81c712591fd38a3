// The syntax tree of a calculation script, as the parser builds it and the
// evaluator walks it. Texts are kept in UTF-8 as written (escapes already
// resolved); the evaluator converts them to the host's UTF-16 when it builds
// values, so the parser stays free of any host dependency.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace fmhost {

// A place in a source text: line and column both count from 1; a column
// counts characters (code points), not bytes, so "¶" is one column.
struct Position {
    int line = 1;
    int column = 1;
};

struct Diagnostic {
    Position position;
    std::string message;
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct TextLiteral {
    std::string utf8;
};

struct NumberLiteral {
    double value = 0.0;
    std::string spelling;
};

// `$name` or `$$name`; `name` keeps the spelling with its dollar signs,
// `key` is the case-folded spelling variables are stored under.
struct VariableRef {
    std::string name;
    std::string key;
};

// `Name`, `Name()` or `Name( a ; b )`: a bare name is a call without
// parameters, as FileMaker lets a calculation write functions that take none.
struct Call {
    std::string name;
    std::vector<ExprPtr> arguments;
    bool parenthesized = false;  // written with "( ... )", empty or not
};

// `a & b & c`: kept flat, so a long chain neither deepens the tree nor the
// recursion that walks or destroys it.
struct Concatenation {
    std::vector<ExprPtr> parts;
};

struct Negation {
    ExprPtr operand;
};

struct Expr {
    Position position;
    std::variant<TextLiteral, NumberLiteral, VariableRef, Call, Concatenation, Negation> node;
};

// One line of a script (or several, while parentheses are open): an
// assignment `$name = expression` or an expression whose value is printed.
struct Statement {
    Position position;
    std::optional<VariableRef> assignTo;
    ExprPtr expression;
};

struct ParsedScript {
    std::vector<Statement> statements;
    std::vector<Diagnostic> errors;
};

}  // namespace fmhost
