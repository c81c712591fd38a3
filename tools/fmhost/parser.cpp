#include "parser.h"

#include "lexer.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace fmhost {
namespace {

// Thrown inside one statement; the statement loop records it and moves on.
struct SyntaxError {
    Diagnostic diagnostic;
    bool alreadyReported = false;  // the lexer has said it
};

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string describe(const Token& token) {
    switch (token.kind) {
        case TokenKind::Text: {
            std::string shown = token.text.size() > 20 ? token.text.substr(0, 20) + "..." : token.text;
            return "text \"" + shown + "\"";
        }
        case TokenKind::Number: return "number " + token.text;
        case TokenKind::Variable: return "variable " + token.text;
        case TokenKind::Identifier: return "'" + token.text + "'";
        case TokenKind::Pilcrow: return "'\xC2\xB6'";
        case TokenKind::LeftParen: return "'('";
        case TokenKind::RightParen: return "')'";
        case TokenKind::Semicolon: return "';'";
        case TokenKind::Ampersand: return "'&'";
        case TokenKind::Minus: return "'-'";
        case TokenKind::Equals: return "'='";
        case TokenKind::Comma: return "','";
        case TokenKind::Unsupported: return "'" + token.text + "'";
        case TokenKind::Newline: return "the end of the line";
        case TokenKind::End: return "the end of the input";
        case TokenKind::Error: return "an error";
    }
    return "a token";
}

class Parser {
public:
    explicit Parser(LexResult lexed) : lexed_(std::move(lexed)) {}

    ParsedScript run() {
        ParsedScript script;
        script.errors = lexed_.errors;
        while (true) {
            while (current().kind == TokenKind::Newline) ++next_;
            if (current().kind == TokenKind::End) break;
            try {
                script.statements.push_back(statement());
            } catch (const SyntaxError& e) {
                if (!e.alreadyReported) script.errors.push_back(e.diagnostic);
                skipStatement();
            }
        }
        // Lexer errors and parser errors arrive in two lists; a reader
        // expects them in the order of the text.
        std::stable_sort(script.errors.begin(), script.errors.end(),
                         [](const Diagnostic& a, const Diagnostic& b) {
                             if (a.position.line != b.position.line) return a.position.line < b.position.line;
                             return a.position.column < b.position.column;
                         });
        if (!script.errors.empty()) script.statements.clear();
        return script;
    }

private:
    const Token& current() const { return lexed_.tokens[next_]; }
    const Token& lookahead() const {
        return next_ + 1 < lexed_.tokens.size() ? lexed_.tokens[next_ + 1] : lexed_.tokens.back();
    }
    const Token& take() {
        const Token& token = lexed_.tokens[next_];
        if (token.kind != TokenKind::End) ++next_;
        return token;
    }

    [[noreturn]] void fail(Position at, std::string message) const {
        throw SyntaxError{Diagnostic{at, std::move(message)}, false};
    }
    // At the end of the input inside parentheses, what is missing is the
    // closing parenthesis, whatever the parser was looking for there.
    [[noreturn]] void failAtCurrent(std::string message) const {
        if (current().kind == TokenKind::Error) throw SyntaxError{{current().position, {}}, true};
        if (current().kind == TokenKind::End && !openParentheses_.empty())
            fail(openParentheses_.back(), "'(' is never closed");
        fail(current().position, std::move(message));
    }

    void skipStatement() {
        while (current().kind != TokenKind::Newline && current().kind != TokenKind::End) ++next_;
    }

    Statement statement() {
        Statement result;
        result.position = current().position;
        if (current().kind == TokenKind::Variable && lookahead().kind == TokenKind::Equals) {
            const Token& variable = take();
            result.assignTo = VariableRef{variable.text, lowerAscii(variable.text)};
            take();
        }
        result.expression = expression();
        const Token& after = current();
        switch (after.kind) {
            case TokenKind::Newline:
            case TokenKind::End:
                return result;
            case TokenKind::Minus:
            case TokenKind::Unsupported:
                failAtCurrent("operator " + describe(after) +
                              " is not supported; '&' is the only operator between values");
            case TokenKind::Equals:
                failAtCurrent("'=' assigns only in a statement that starts with a variable");
            case TokenKind::RightParen:
                failAtCurrent("unexpected ')' without a matching '('");
            case TokenKind::Semicolon:
                failAtCurrent("unexpected ';' outside a function's parameter list");
            default:
                failAtCurrent("expected '&' or the end of the statement, found " + describe(after));
        }
    }

    ExprPtr expression() {
        auto first = unary();
        if (current().kind != TokenKind::Ampersand) return first;
        auto joined = std::make_unique<Expr>();
        joined->position = first->position;
        Concatenation concatenation;
        concatenation.parts.push_back(std::move(first));
        while (current().kind == TokenKind::Ampersand) {
            take();
            concatenation.parts.push_back(unary());
        }
        joined->node = std::move(concatenation);
        return joined;
    }

    // Counts one level of nesting for as long as it lives.
    class Nesting {
    public:
        Nesting(Parser& parser, Position at, bool parenthesis = false)
            : parser_(&parser), parenthesis_(parenthesis) {
            if (parenthesis_) parser.openParentheses_.push_back(at);
            if (++parser.depth_ > kMaxNesting) {
                unwind();
                parser.fail(at, "the calculation is nested too deeply (more than " +
                                     std::to_string(kMaxNesting) + " levels)");
            }
        }
        ~Nesting() { unwind(); }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        void unwind() {
            if (parser_ == nullptr) return;
            --parser_->depth_;
            if (parenthesis_) parser_->openParentheses_.pop_back();
            parser_ = nullptr;
        }
        Parser* parser_;
        bool parenthesis_;
    };

    ExprPtr unary() {
        if (current().kind != TokenKind::Minus) return primary();
        const Position at = take().position;
        Nesting nesting(*this, at);
        auto negation = std::make_unique<Expr>();
        negation->position = at;
        negation->node = Negation{unary()};
        return negation;
    }

    ExprPtr primary() {
        const Token& token = current();
        auto expr = std::make_unique<Expr>();
        expr->position = token.position;
        switch (token.kind) {
            case TokenKind::Text:
                expr->node = TextLiteral{take().text};
                return expr;
            case TokenKind::Number: {
                const Token& number = take();
                expr->node = NumberLiteral{number.number, number.text};
                return expr;
            }
            case TokenKind::Variable: {
                const Token& variable = take();
                expr->node = VariableRef{variable.text, lowerAscii(variable.text)};
                return expr;
            }
            case TokenKind::Pilcrow:
                take();
                expr->node = TextLiteral{"\r"};
                return expr;
            case TokenKind::LeftParen: {
                const Position open = take().position;
                Nesting nesting(*this, open, true);
                auto inner = expression();
                closeParenthesis(open, "expected ')' after the value in parentheses");
                return inner;
            }
            case TokenKind::Identifier:
                return call();
            default:
                failAtCurrent("expected a value, found " + describe(token));
        }
    }

    ExprPtr call() {
        const Token& name = take();
        auto expr = std::make_unique<Expr>();
        expr->position = name.position;
        Call call{name.text, {}};
        if (current().kind == TokenKind::LeftParen) {
            call.parenthesized = true;
            const Position open = take().position;
            Nesting nesting(*this, open, true);
            if (current().kind == TokenKind::RightParen) {
                take();
            } else {
                while (true) {
                    if (current().kind == TokenKind::Semicolon || current().kind == TokenKind::RightParen)
                        failAtCurrent("expected a parameter of '" + call.name + "', found " +
                                      describe(current()));
                    call.arguments.push_back(expression());
                    if (current().kind == TokenKind::Semicolon) {
                        take();
                        continue;
                    }
                    if (current().kind == TokenKind::Comma)
                        failAtCurrent("parameters are separated by ';', not ','");
                    closeParenthesis(open, "expected ';' or ')' in the parameters of '" + call.name + "'");
                    break;
                }
            }
        } else if (current().kind == TokenKind::Text || current().kind == TokenKind::Number ||
                   current().kind == TokenKind::Variable) {
            failAtCurrent("expected '(' after '" + call.name + "' before its parameters (a text is written in quotes)");
        }
        expr->node = std::move(call);
        return expr;
    }

    void closeParenthesis(Position open, const std::string& message) {
        if (current().kind == TokenKind::RightParen) {
            take();
            return;
        }
        if (current().kind == TokenKind::End) fail(open, "'(' is never closed");
        failAtCurrent(message + ", found " + describe(current()));
    }

    LexResult lexed_;
    std::size_t next_ = 0;
    int depth_ = 0;
    std::vector<Position> openParentheses_;
};

}  // namespace

ParsedScript parseScript(std::string_view source, int firstLine) {
    return Parser(lex(source, firstLine)).run();
}

bool needsMoreInput(std::string_view source) {
    const LexResult lexed = lex(source);
    return lexed.errors.empty() && lexed.openParentheses > 0;
}

}  // namespace fmhost
