// Splits a calculation script into tokens.
//
// Line ends separate statements only outside parentheses: inside them the
// lexer drops the line end, which is how a statement continues onto the next
// line. Comments (`#` or `//` to the end of the line, `/* ... */`) vanish.
#pragma once

#include "ast.h"

#include <string>
#include <string_view>
#include <vector>

namespace fmhost {

enum class TokenKind {
    Text,         // "..." with escapes resolved, in `text`
    Number,       // in `number`, spelling in `text`
    Variable,     // `$name` / `$$name`, spelling in `text`
    Identifier,   // a function name
    Pilcrow,      // ¶ outside a text: a carriage return
    LeftParen,
    RightParen,
    Semicolon,
    Ampersand,
    Minus,
    Equals,
    Comma,
    Unsupported,  // an operator FileMaker has and this host does not, spelling in `text`
    Newline,      // end of a statement
    End,
    Error,        // the lexer has reported a diagnostic here
};

struct Token {
    TokenKind kind = TokenKind::End;
    Position position;
    std::string text;
    double number = 0.0;
};

struct LexResult {
    std::vector<Token> tokens;  // always ends with an End token
    std::vector<Diagnostic> errors;
    // Parentheses still open at the end of the input: a prompt reads on.
    int openParentheses = 0;
};

// `firstLine` numbers the first line of `source`, for inputs that are read
// piece by piece.
LexResult lex(std::string_view source, int firstLine = 1);

}  // namespace fmhost
