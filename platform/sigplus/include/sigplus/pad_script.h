// Pad scripts: what a person does at the pad during a capture, written down
// in advance, so that a capture runs without a pad (in tests, in the host
// program's examples). A script is a few lines of text: pen strokes in the
// pad's screen pixels with their timing, touches, the dialog's buttons,
// keys and the close box. The format is described in docs/pad-script.md.
//
// The reader turns a script into the events the dialog framework's modal
// loop reads (winplatform/headless_input.h). Pen input goes to the pad's
// control as a ControlInput event whose payload is a pen record; the control
// reads it back with parsePenInput.
#pragma once

#include "sigplus/api.h"

#include <winplatform/headless_input.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sigplus {

// The pad's screen, in pixels; pen positions lie within it.
inline constexpr int kPadScreenWidth = 240;
inline constexpr int kPadScreenHeight = 64;

// The control ID under which the capture dialog hosts the pad.
inline constexpr UINT kPadControlId = 11000;

// The dialog's buttons that a script names.
inline constexpr UINT kButtonOk = 1;
inline constexpr UINT kButtonCancel = 2;
inline constexpr UINT kButtonClear = 11006;

// Where `touch OK` and `touch RESET` press: the middle of the touch keys
// the capture dialog defines (OK at 177,7 and RESET at 15,7, 48 x 15 each).
inline constexpr int kOkKeyX = 201;
inline constexpr int kOkKeyY = 14;
inline constexpr int kResetKeyX = 39;
inline constexpr int kResetKeyY = 14;

// A pad samples the pen at about 125 points a second; a stroke without an
// interval of its own, and a touch, take this long per point.
inline constexpr std::uint32_t kDefaultPointIntervalMs = 8;
// No single duration in a script is longer than ten minutes ...
inline constexpr std::uint32_t kMaxDurationMs = 600'000;
// ... and no script runs longer than a day, so that times fit any counter
// the control keeps.
inline constexpr std::uint32_t kMaxScriptMs = 86'400'000;
// The control counts ink points in 16 bits; no stroke holds more.
inline constexpr std::size_t kMaxPenPoints = 32767;

// One sample of the pen: where it was on the screen and when, in
// milliseconds since the script began.
struct PenPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::uint32_t timeMs = 0;

    friend bool operator==(const PenPoint&, const PenPoint&) = default;
};

// One pen-down to pen-up: the pen goes down at the first point, moves
// through the others and lifts at the last. A touch is a single point.
// Never empty; times never decrease.
struct PenInput {
    std::vector<PenPoint> points;

    friend bool operator==(const PenInput&, const PenInput&) = default;
};

// The payload of a pen event: "pen T:X,Y T:X,Y ...", one item per point,
// T in milliseconds, single spaces, e.g. "pen 0:20,40 8:25,42".
SIGPLUS_API std::string formatPenInput(const PenInput& input);
// Reads a payload back; nothing unless it is a well-formed pen record with
// at least one and at most kMaxPenPoints points on the screen, and times
// that never decrease and stay within kMaxScriptMs.
SIGPLUS_API std::optional<PenInput> parsePenInput(std::string_view payload);

// A script that cannot be read: where (1-based line and byte column; line 0
// when the file itself could not be read) and why. what() gives all of it,
// e.g. "line 3, column 8: expected x,y after 'stroke'", prefixed with the
// file's name when the script came from a file.
class SIGPLUS_API PadScriptError : public std::runtime_error {
public:
    PadScriptError(int line, int column, std::string message, std::string file = {});

    int line() const noexcept { return line_; }
    int column() const noexcept { return column_; }
    const std::string& message() const noexcept { return message_; }
    const std::string& file() const noexcept { return file_; }

private:
    int line_;
    int column_;
    std::string message_;
    std::string file_;
};

// Reads a script into events, in the script's order; each event carries
// its line. Pen input goes to padControlId. Throws PadScriptError.
SIGPLUS_API std::vector<winplatform::InputEvent> parsePadScript(std::string_view text,
                                                                 UINT padControlId = kPadControlId);
// The same for a script file; errors name the file.
SIGPLUS_API std::vector<winplatform::InputEvent> readPadScriptFile(const std::filesystem::path& path,
                                                                    UINT padControlId = kPadControlId);

// Serves a script's events in order, then nothing. Safe to share between
// threads.
class SIGPLUS_API PadScriptSource : public winplatform::InputSource {
public:
    explicit PadScriptSource(std::vector<winplatform::InputEvent> events);

    std::optional<winplatform::InputEvent> next() override;
    // How many events are still to come.
    std::size_t remaining() const;

private:
    mutable std::mutex mutex_;
    std::vector<winplatform::InputEvent> events_;
    std::size_t next_ = 0;
};

// A source for a script file, ready for winplatform::setInputSource.
// Throws PadScriptError.
SIGPLUS_API std::shared_ptr<PadScriptSource> loadPadScript(const std::filesystem::path& path,
                                                           UINT padControlId = kPadControlId);

}  // namespace sigplus
