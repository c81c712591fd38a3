#include "pad_script_line.h"

#include <algorithm>
#include <climits>

namespace sigplus::script {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

Number leadingNumber(std::string_view text) {
    constexpr std::uint64_t kCap = 10'000'000'000ULL;
    Number n;
    while (n.length < text.size() && isDigit(text[n.length])) {
        if (!n.tooLarge) {
            n.value = n.value * 10 + static_cast<std::uint64_t>(text[n.length] - '0');
            if (n.value > kCap) n.tooLarge = true;
        }
        ++n.length;
    }
    return n;
}

bool is(std::string_view text, std::string_view word) {
    return text.size() == word.size() && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
               return lower(a) == b;
           });
}

int clampToInt(std::size_t value) { return value > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(value); }

std::string quoted(std::string_view token) {
    constexpr std::size_t kShown = 24;
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "'";
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (i == kShown) {
            out += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    out += '\'';
    return out;
}

LineReader::LineReader(std::size_t line, std::string_view text) : line_(line) {
    const std::size_t end = std::min(text.find('#'), text.size());
    std::size_t i = 0;
    while (i < end) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < end && !isBlank(text[i])) ++i;
        tokens_.push_back({text.substr(start, i - start), start + 1});
    }
}

std::size_t LineReader::afterLast() const {
    if (next_ == 0) return 1;
    const Token& last = tokens_[next_ - 1];
    return last.column + last.text.size();
}

void LineReader::fail(std::size_t column, std::string message) const {
    throw PadScriptError(clampToInt(line_), clampToInt(column), std::move(message));
}

void LineReader::expectEnd(std::string_view after) const {
    if (!atEnd()) fail(peek().column, "unexpected " + quoted(peek().text) + " after " + std::string(after));
}

std::optional<ScreenPoint> LineReader::point(const Token& token) const {
    const std::string_view t = token.text;
    const Number x = leadingNumber(t);
    if (x.length == 0) return std::nullopt;
    std::size_t pos = x.length;
    if (pos == t.size() || t[pos] != ',') fail(token.column + pos, "expected ',' between x and y in " + quoted(t));
    ++pos;
    const Number y = leadingNumber(t.substr(pos));
    if (y.length == 0) fail(token.column + pos, "expected y after ',' in " + quoted(t));
    const std::size_t yColumn = token.column + pos;
    pos += y.length;
    if (pos != t.size()) fail(token.column + pos, "unexpected " + quoted(t.substr(pos)) + " after the point");
    if (x.tooLarge) fail(token.column, "number too large");
    if (x.value >= kPadScreenWidth)
        fail(token.column, "x " + std::to_string(x.value) + " is outside the screen (0 to " +
                               std::to_string(kPadScreenWidth - 1) + ")");
    if (y.tooLarge) fail(yColumn, "number too large");
    if (y.value >= kPadScreenHeight)
        fail(yColumn, "y " + std::to_string(y.value) + " is outside the screen (0 to " +
                          std::to_string(kPadScreenHeight - 1) + ")");
    return ScreenPoint{static_cast<int>(x.value), static_cast<int>(y.value)};
}

std::uint32_t LineReader::duration(const Token& token) const {
    const std::string_view t = token.text;
    const Number n = leadingNumber(t);
    if (n.length == 0) fail(token.column, "expected a duration such as 500ms, found " + quoted(t));
    if (n.tooLarge) fail(token.column, "number too large");
    const std::string_view unit = t.substr(n.length);
    std::uint64_t ms = 0;
    if (unit.empty()) {
        fail(token.column + n.length, "expected a unit right after " + std::string(t) + " (ms or s)");
    } else if (is(unit, "ms")) {
        ms = n.value;
    } else if (is(unit, "s")) {
        ms = n.value * 1000;
    } else {
        fail(token.column + n.length, "unknown unit " + quoted(unit) + " (expected ms or s)");
    }
    if (ms > kMaxDurationMs)
        fail(token.column, "duration " + std::string(t) + " is longer than " + std::to_string(kMaxDurationMs / 1000) + "s");
    return static_cast<std::uint32_t>(ms);
}

}  // namespace sigplus::script
