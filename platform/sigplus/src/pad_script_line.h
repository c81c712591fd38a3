// One line of a pad script as its reader sees it: blank-separated tokens
// with their columns, and the arguments a command takes (points on the
// pad's screen, durations), each fault thrown as a PadScriptError naming
// the line and column.
#pragma once

#include "sigplus/pad_script.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sigplus::script {

// Keywords and names are matched without regard to case; `word` is given
// in lower case.
bool is(std::string_view text, std::string_view word);
int clampToInt(std::size_t value);
// A token as a message shows it: quoted, control bytes escaped and long
// tokens cut short, so that a binary file still gives a readable message.
std::string quoted(std::string_view token);

// The decimal digits at the front of a text. Values beyond any limit a
// script has are marked too large rather than carried on, so nothing
// overflows however many digits there are.
struct Number {
    std::uint64_t value = 0;
    std::size_t length = 0;
    bool tooLarge = false;
};

Number leadingNumber(std::string_view text);

struct Token {
    std::string_view text;
    std::size_t column = 0;  // 1-based
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

class LineReader {
public:
    LineReader(std::size_t line, std::string_view text);

    bool atEnd() const { return next_ == tokens_.size(); }
    const Token& peek() const { return tokens_[next_]; }
    Token take() { return tokens_[next_++]; }
    // The column just after the last token taken: where a missing argument
    // was expected.
    std::size_t afterLast() const;

    [[noreturn]] void fail(std::size_t column, std::string message) const;
    // Nothing may follow a complete command.
    void expectEnd(std::string_view after) const;
    // A point "x,y" on the screen; nothing when the token does not begin
    // with a digit (it is something else), an error when it begins like a
    // point but is not a good one.
    std::optional<ScreenPoint> point(const Token& token) const;
    // A duration "500ms" or "2s", in milliseconds.
    std::uint32_t duration(const Token& token) const;

private:
    std::size_t line_;
    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

}  // namespace sigplus::script
