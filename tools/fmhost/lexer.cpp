#include "lexer.h"

#include <charconv>
#include <cstddef>
#include <system_error>

namespace fmhost {
namespace {

constexpr std::string_view kPilcrow = "\xC2\xB6";  // ¶, U+00B6

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameChar(char c) { return isLetter(c) || isDigit(c) || c == '_' || c == '.'; }

class Lexer {
public:
    Lexer(std::string_view source, int firstLine) : src_(source) { pos_.line = firstLine; }

    LexResult run() {
        if (src_.substr(0, 3) == "\xEF\xBB\xBF") i_ = 3;  // a byte-order mark is no character
        while (i_ < src_.size()) step();
        Token end;
        end.kind = TokenKind::End;
        end.position = pos_;
        out_.tokens.push_back(end);
        out_.openParentheses = depth_;
        return std::move(out_);
    }

private:
    char peek(std::size_t ahead = 0) const {
        return i_ + ahead < src_.size() ? src_[i_ + ahead] : '\0';
    }
    bool startsWith(std::string_view s) const { return src_.substr(i_, s.size()) == s; }
    bool atLineEnd() const { return peek() == '\n' || peek() == '\r'; }

    // Moves over one byte; the column advances once per character, that is
    // on every byte that does not continue a UTF-8 sequence.
    void advance() {
        const auto byte = static_cast<unsigned char>(src_[i_]);
        ++i_;
        if ((byte & 0xC0) != 0x80) ++pos_.column;
    }
    void advanceLineEnd() {
        if (peek() == '\r' && peek(1) == '\n') ++i_;
        ++i_;
        ++pos_.line;
        pos_.column = 1;
    }

    void emit(TokenKind kind, Position at, std::string text = {}, double number = 0.0) {
        out_.tokens.push_back(Token{kind, at, std::move(text), number});
    }
    void error(Position at, std::string message) {
        out_.errors.push_back(Diagnostic{at, std::move(message)});
        emit(TokenKind::Error, at);
    }

    // The character at the current place, whole, for messages.
    std::string currentCharacter() const {
        std::size_t n = 1;
        const auto lead = static_cast<unsigned char>(peek());
        if (lead >= 0xF0) n = 4;
        else if (lead >= 0xE0) n = 3;
        else if (lead >= 0xC0) n = 2;
        std::size_t end = i_ + 1;
        while (end < src_.size() && end < i_ + n &&
               (static_cast<unsigned char>(src_[end]) & 0xC0) == 0x80)
            ++end;
        return std::string(src_.substr(i_, end - i_));
    }
    static bool isWholeCharacter(std::string_view character) {
        const auto lead = static_cast<unsigned char>(character[0]);
        std::size_t expected = 1;
        if (lead >= 0xF8 || (lead >= 0x80 && lead < 0xC0)) return false;
        if (lead >= 0xF0) expected = 4;
        else if (lead >= 0xE0) expected = 3;
        else if (lead >= 0xC0) expected = 2;
        return character.size() == expected;
    }
    void skipCharacter() {
        advance();
        while (i_ < src_.size() && (static_cast<unsigned char>(src_[i_]) & 0xC0) == 0x80) advance();
    }

    void step() {
        const char c = peek();
        const Position at = pos_;
        if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
            advance();
        } else if (atLineEnd()) {
            if (depth_ == 0) emit(TokenKind::Newline, at);
            advanceLineEnd();
        } else if (c == '#' || startsWith("//")) {
            while (i_ < src_.size() && !atLineEnd()) advance();
        } else if (startsWith("/*")) {
            blockComment(at);
        } else if (c == '"') {
            text(at);
        } else if (isDigit(c) || (c == '.' && isDigit(peek(1)))) {
            number(at);
        } else if (c == '$') {
            variable(at);
        } else if (isLetter(c) || c == '_') {
            const std::size_t start = i_;
            while (isNameChar(peek())) advance();
            emit(TokenKind::Identifier, at, std::string(src_.substr(start, i_ - start)));
        } else if (startsWith(kPilcrow)) {
            skipCharacter();
            emit(TokenKind::Pilcrow, at);
        } else {
            punctuation(at);
        }
    }

    void punctuation(Position at) {
        const char c = peek();
        switch (c) {
            case '(':
                ++depth_;
                advance();
                emit(TokenKind::LeftParen, at);
                return;
            case ')':
                if (depth_ > 0) --depth_;
                advance();
                emit(TokenKind::RightParen, at);
                return;
            case ';': advance(); emit(TokenKind::Semicolon, at); return;
            case '&': advance(); emit(TokenKind::Ampersand, at); return;
            case '-': advance(); emit(TokenKind::Minus, at); return;
            case '=': advance(); emit(TokenKind::Equals, at); return;
            case ',': advance(); emit(TokenKind::Comma, at); return;
            case '+': case '*': case '/': case '^': case '<': case '>':
                advance();
                emit(TokenKind::Unsupported, at, std::string(1, c));
                return;
            default: break;
        }
        const std::string character = currentCharacter();
        skipCharacter();
        if (!isWholeCharacter(character)) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(character[0]);
            error(at, std::string("unexpected byte 0x") + kHex[byte >> 4] + kHex[byte & 0xF] +
                          " (the script is not valid UTF-8)");
            return;
        }
        if (character == "\xE2\x89\xA0" || character == "\xE2\x89\xA4" || character == "\xE2\x89\xA5") {
            emit(TokenKind::Unsupported, at, character);  // ≠ ≤ ≥
            return;
        }
        if (static_cast<unsigned char>(character[0]) < 0x20 || character[0] == 0x7F) {
            error(at, "unexpected control character");
        } else if (character == "\xE2\x80\x9C" || character == "\xE2\x80\x9D") {
            error(at, "unexpected '" + character + "'; texts are written in straight double quotes");
        } else {
            error(at, "unexpected character '" + character + "'");
        }
    }

    void blockComment(Position at) {
        advance();
        advance();
        while (i_ < src_.size()) {
            if (startsWith("*/")) {
                advance();
                advance();
                return;
            }
            if (atLineEnd()) advanceLineEnd();
            else advance();
        }
        error(at, "unterminated comment: '/*' without '*/'");
    }

    // FileMaker's text literal: `\"` is a quote, `\\` a backslash, `\¶` a
    // pilcrow and a bare `¶` a carriage return; any other backslash stays as
    // written. A literal must close on its own line.
    void text(Position at) {
        advance();
        std::string value;
        while (true) {
            if (i_ >= src_.size() || atLineEnd()) {
                error(at, "unterminated text: the closing '\"' is missing on this line");
                return;
            }
            const char c = peek();
            if (c == '"') {
                advance();
                emit(TokenKind::Text, at, std::move(value));
                return;
            }
            if (c == '\\') {
                advance();
                if (peek() == '"' || peek() == '\\') {
                    value.push_back(peek());
                    advance();
                } else if (startsWith(kPilcrow)) {
                    value.append(kPilcrow);
                    skipCharacter();
                } else {
                    value.push_back('\\');
                }
                continue;
            }
            if (startsWith(kPilcrow)) {
                value.push_back('\r');
                skipCharacter();
                continue;
            }
            value.push_back(c);
            advance();
        }
    }

    void number(Position at) {
        const std::size_t start = i_;
        while (isDigit(peek())) advance();
        if (peek() == '.' && isDigit(peek(1))) {
            advance();
            while (isDigit(peek())) advance();
        } else if (peek() == '.' && !isNameChar(peek(1))) {
            advance();  // "3." is 3
        }
        if ((peek() == 'e' || peek() == 'E') &&
            (isDigit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && isDigit(peek(2))))) {
            advance();
            if (peek() == '+' || peek() == '-') advance();
            while (isDigit(peek())) advance();
        }
        bool malformed = false;
        while (isNameChar(peek())) {
            malformed = true;
            advance();
        }
        std::string spelling(src_.substr(start, i_ - start));
        if (malformed) {
            error(at, "malformed number '" + spelling + "'");
            return;
        }
        double value = 0.0;
        const auto [end, ec] = std::from_chars(spelling.data(), spelling.data() + spelling.size(), value);
        if (ec == std::errc::result_out_of_range) {
            error(at, "number out of range '" + spelling + "'");
            return;
        }
        if (ec != std::errc() || end != spelling.data() + spelling.size()) {
            error(at, "malformed number '" + spelling + "'");
            return;
        }
        emit(TokenKind::Number, at, std::move(spelling), value);
    }

    void variable(Position at) {
        const std::size_t start = i_;
        advance();
        if (peek() == '$') advance();
        const std::size_t nameStart = i_;
        while (isNameChar(peek())) advance();
        if (i_ == nameStart) {
            error(at, "expected a variable name after '" + std::string(src_.substr(start, i_ - start)) + "'");
            return;
        }
        emit(TokenKind::Variable, at, std::string(src_.substr(start, i_ - start)));
    }

    std::string_view src_;
    std::size_t i_ = 0;
    Position pos_;
    int depth_ = 0;
    LexResult out_;
};

}  // namespace

LexResult lex(std::string_view source, int firstLine) { return Lexer(source, firstLine).run(); }

}  // namespace fmhost
