// The pad-script reader: one line at a time, each line a command and its
// arguments separated by blanks. Scripts are written by hand, so every
// fault is reported with the line and column where it was found, and no
// input, however broken, gets further than a PadScriptError.
#include "sigplus/pad_script.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace sigplus {
namespace {

using platform::InputEvent;

constexpr std::string_view kCommands = "stroke, touch, wait, click, key or close";
constexpr std::string_view kButtons = "OK, Cancel, Clear or a control ID";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Keywords and names are matched without regard to case; `word` is given
// in lower case.
bool is(std::string_view text, std::string_view word) {
    return text.size() == word.size() && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
               return lower(a) == b;
           });
}

int clampToInt(std::size_t value) { return value > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(value); }

// A token as a message shows it: quoted, control bytes escaped and long
// tokens cut short, so that a binary file still gives a readable message.
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

struct Token {
    std::string_view text;
    std::size_t column = 0;  // 1-based
};

// The decimal digits at the front of a text. Values beyond any limit a
// script has are marked too large rather than carried on, so nothing
// overflows however many digits there are.
struct Number {
    std::uint64_t value = 0;
    std::size_t length = 0;
    bool tooLarge = false;
};

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

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

class LineReader {
public:
    LineReader(std::size_t line, std::string_view text) : line_(line) {
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

    bool atEnd() const { return next_ == tokens_.size(); }
    const Token& peek() const { return tokens_[next_]; }
    Token take() { return tokens_[next_++]; }
    // The column just after the last token taken: where a missing argument
    // was expected.
    std::size_t afterLast() const {
        if (next_ == 0) return 1;
        const Token& last = tokens_[next_ - 1];
        return last.column + last.text.size();
    }

    [[noreturn]] void fail(std::size_t column, std::string message) const {
        throw PadScriptError(clampToInt(line_), clampToInt(column), std::move(message));
    }

    // Nothing may follow a complete command.
    void expectEnd(std::string_view after) const {
        if (!atEnd()) fail(peek().column, "unexpected " + quoted(peek().text) + " after " + std::string(after));
    }

    // A point "x,y" on the screen; nothing when the token does not begin
    // with a digit (it is something else), an error when it begins like a
    // point but is not a good one.
    std::optional<ScreenPoint> point(const Token& token) const {
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

    // A duration "500ms" or "2s", in milliseconds.
    std::uint32_t duration(const Token& token) const {
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

private:
    std::size_t line_;
    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

class ScriptReader {
public:
    explicit ScriptReader(unsigned int padControlId) : padControlId_(padControlId) {}

    void readLine(std::size_t line, std::string_view text) {
        LineReader in(line, text);
        if (in.atEnd()) return;
        const Token command = in.take();
        const int lineNumber = clampToInt(line);
        if (is(command.text, "stroke")) {
            stroke(in, command, lineNumber);
        } else if (is(command.text, "touch")) {
            touch(in, command, lineNumber);
        } else if (is(command.text, "wait")) {
            if (in.atEnd()) in.fail(in.afterLast(), "expected a duration such as 500ms after 'wait'");
            clockMs_ += in.duration(in.take());
            in.expectEnd("the duration");
        } else if (is(command.text, "click")) {
            click(in, command, lineNumber);
        } else if (is(command.text, "key")) {
            key(in, command, lineNumber);
        } else if (is(command.text, "close")) {
            in.expectEnd("'close'");
            InputEvent event;
            event.kind = InputEvent::Kind::Close;
            event.line = lineNumber;
            event.timeMs = now(in, command);
            events_.push_back(std::move(event));
        } else {
            in.fail(command.column, "unknown command " + quoted(command.text) + " (expected " + std::string(kCommands) + ")");
        }
    }

    std::vector<InputEvent> take() { return std::move(events_); }

private:
    void stroke(LineReader& in, const Token& command, int line) {
        std::vector<ScreenPoint> points;
        std::uint32_t interval = kDefaultPointIntervalMs;
        while (!in.atEnd()) {
            const Token token = in.take();
            if (is(token.text, "every")) {
                if (points.empty()) in.fail(token.column, "expected x,y before 'every'");
                if (in.atEnd()) in.fail(in.afterLast(), "expected an interval such as 8ms after 'every'");
                const Token value = in.take();
                interval = in.duration(value);
                if (interval == 0) in.fail(value.column, "the interval between points must be at least 1ms");
                in.expectEnd("the interval");
                break;
            }
            const auto p = in.point(token);
            if (!p)
                in.fail(token.column, (points.empty() ? "expected x,y after 'stroke', found " : "expected x,y or 'every', found ") +
                                          quoted(token.text));
            if (points.size() == kMaxPenPoints)
                in.fail(token.column, "too many points in one stroke (at most " + std::to_string(kMaxPenPoints) + ")");
            points.push_back(*p);
        }
        if (points.empty()) in.fail(in.afterLast(), "expected x,y after 'stroke'");

        PenInput input;
        input.points.reserve(points.size());
        std::uint64_t time = clockMs_;
        for (const ScreenPoint& p : points) {
            if (time > kMaxScriptMs) in.fail(command.column, "the script runs longer than 24 hours");
            input.points.push_back({static_cast<std::int16_t>(p.x), static_cast<std::int16_t>(p.y), static_cast<std::uint32_t>(time)});
            time += interval;
        }
        // The pen lifts one interval after the last point.
        clockMs_ = time;
        pen(std::move(input), line);
    }

    void touch(LineReader& in, const Token& command, int line) {
        constexpr std::string_view kExpected = "expected x,y, OK or RESET after 'touch'";
        if (in.atEnd()) in.fail(in.afterLast(), std::string(kExpected));
        const Token token = in.take();
        ScreenPoint p;
        if (is(token.text, "ok")) {
            p = {kOkKeyX, kOkKeyY};
        } else if (is(token.text, "reset")) {
            p = {kResetKeyX, kResetKeyY};
        } else if (const auto given = in.point(token)) {
            p = *given;
        } else {
            in.fail(token.column, std::string(kExpected) + ", found " + quoted(token.text));
        }
        in.expectEnd("the point");
        if (clockMs_ > kMaxScriptMs) in.fail(command.column, "the script runs longer than 24 hours");
        PenInput input;
        input.points.push_back({static_cast<std::int16_t>(p.x), static_cast<std::int16_t>(p.y), static_cast<std::uint32_t>(clockMs_)});
        clockMs_ += kDefaultPointIntervalMs;
        pen(std::move(input), line);
    }

    // The clock's time for an event that takes none; every event of a
    // script comes within a day.
    std::uint32_t now(const LineReader& in, const Token& command) const {
        if (clockMs_ > kMaxScriptMs) in.fail(command.column, "the script runs longer than 24 hours");
        return static_cast<std::uint32_t>(clockMs_);
    }

    void click(LineReader& in, const Token& command, int line) {
        if (in.atEnd()) in.fail(in.afterLast(), "expected a button after 'click' (" + std::string(kButtons) + ")");
        const Token token = in.take();
        unsigned int id = 0;
        if (is(token.text, "ok")) {
            id = kButtonOk;
        } else if (is(token.text, "cancel")) {
            id = kButtonCancel;
        } else if (is(token.text, "clear")) {
            id = kButtonClear;
        } else {
            const Number n = leadingNumber(token.text);
            if (n.length == 0 || n.length != token.text.size())
                in.fail(token.column, "unknown button " + quoted(token.text) + " (expected " + std::string(kButtons) + ")");
            if (n.tooLarge) in.fail(token.column, "number too large");
            if (n.value == 0 || n.value > 0xFFFF)
                in.fail(token.column, "control ID " + std::to_string(n.value) + " is out of range (1 to 65535)");
            id = static_cast<unsigned int>(n.value);
        }
        in.expectEnd("the button");
        InputEvent event;
        event.kind = InputEvent::Kind::Click;
        event.controlId = id;
        event.line = line;
        event.timeMs = now(in, command);
        events_.push_back(std::move(event));
    }

    void key(LineReader& in, const Token& command, int line) {
        if (in.atEnd()) in.fail(in.afterLast(), "expected a key after 'key' (Enter or Escape)");
        const Token token = in.take();
        unsigned int vk = 0;
        if (is(token.text, "enter") || is(token.text, "return")) {
            vk = platform::kKeyEnter;
        } else if (is(token.text, "escape") || is(token.text, "esc")) {
            vk = platform::kKeyEscape;
        } else {
            in.fail(token.column, "unknown key " + quoted(token.text) + " (expected Enter or Escape)");
        }
        in.expectEnd("the key");
        InputEvent event;
        event.kind = InputEvent::Kind::Key;
        event.key = vk;
        event.line = line;
        event.timeMs = now(in, command);
        events_.push_back(std::move(event));
    }

    void pen(PenInput input, int line) {
        InputEvent event;
        event.kind = InputEvent::Kind::ControlInput;
        event.controlId = padControlId_;
        event.payload = formatPenInput(input);
        event.line = line;
        // The record is whole when the pen has lifted: within a day and one
        // longest interval, which the clock's 32 bits hold.
        event.timeMs = static_cast<std::uint32_t>(clockMs_);
        events_.push_back(std::move(event));
    }

    unsigned int padControlId_;
    // The script's clock: when the next pen input begins, in milliseconds.
    // Wide enough that no run of waits overflows it; times are checked
    // against kMaxScriptMs where they are used.
    std::uint64_t clockMs_ = 0;
    std::vector<InputEvent> events_;
};

std::string describeError(int line, int column, const std::string& message, const std::string& file) {
    std::string out;
    if (!file.empty()) out += file + ": ";
    if (line > 0) {
        out += "line " + std::to_string(line);
        if (column > 0) out += ", column " + std::to_string(column);
        out += ": ";
    }
    return out + message;
}

}  // namespace

PadScriptError::PadScriptError(int line, int column, std::string message, std::string file)
    : std::runtime_error(describeError(line, column, message, file)),
      line_(line),
      column_(column),
      message_(std::move(message)),
      file_(std::move(file)) {}

std::vector<InputEvent> parsePadScript(std::string_view text, unsigned int padControlId) {
    ScriptReader reader(padControlId);
    std::size_t line = 1;
    while (true) {
        const std::size_t end = text.find('\n');
        reader.readLine(line, text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
        ++line;
    }
    return reader.take();
}

std::vector<InputEvent> readPadScriptFile(const std::filesystem::path& path, unsigned int padControlId) {
    // A folder opens as a stream that reads as empty: it would pass for a
    // script with no input at all.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw PadScriptError(0, 0, "is a folder, not a pad script", path.string());
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PadScriptError(0, 0, "cannot open the pad script", path.string());
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw PadScriptError(0, 0, "cannot read the pad script", path.string());
    try {
        return parsePadScript(text.str(), padControlId);
    } catch (const PadScriptError& e) {
        throw PadScriptError(e.line(), e.column(), e.message(), path.string());
    }
}

PadScriptSource::PadScriptSource(std::vector<InputEvent> events) : events_(std::move(events)) {}

std::optional<InputEvent> PadScriptSource::next() {
    std::lock_guard lock(mutex_);
    if (next_ == events_.size()) return std::nullopt;
    return std::move(events_[next_++]);
}

std::size_t PadScriptSource::remaining() const {
    std::lock_guard lock(mutex_);
    return events_.size() - next_;
}

std::shared_ptr<PadScriptSource> loadPadScript(const std::filesystem::path& path, unsigned int padControlId) {
    return std::make_shared<PadScriptSource>(readPadScriptFile(path, padControlId));
}

}  // namespace sigplus
