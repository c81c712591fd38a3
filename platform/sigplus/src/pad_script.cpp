// The pad-script reader: one line at a time, each line a command and its
// arguments separated by blanks. Scripts are written by hand, so every
// fault is reported with the line and column where it was found, and no
// input, however broken, gets further than a PadScriptError.
#include "sigplus/pad_script.h"

#include "pad_script_line.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace sigplus {
namespace {

using platform::InputEvent;
using script::clampToInt;
using script::is;
using script::leadingNumber;
using script::LineReader;
using script::Number;
using script::quoted;
using script::ScreenPoint;
using script::Token;

constexpr std::string_view kCommands = "stroke, touch, wait, click, key or close";
constexpr std::string_view kButtons = "OK, Cancel, Clear or a control ID";

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
    // Editors on Windows start a UTF-8 file with a byte-order mark; it is no
    // part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
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
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const std::string why = errno != 0 ? std::strerror(errno) : "no reason given";
        throw PadScriptError(0, 0, "cannot open the pad script: " + why, path.string());
    }
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
