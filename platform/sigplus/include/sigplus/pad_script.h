// Pad scripts: what a person does at the pad during a capture, written down
// in advance, so that a capture runs without a pad (in tests, in the host
// program's examples). A script is a few lines of text: pen strokes in the
// pad's screen pixels with their timing, touches, the dialog's buttons,
// keys and the close box. The format is described in docs/pad-script.md.
//
// The reader turns a script into the events the dialog framework's modal
// loop reads (platform/input_event.h). Pen input goes to the pad's
// control as a ControlInput event whose payload is a pen record; the control
// reads it back with parsePenInput.
#pragma once

#include "sigplus/api.h"
#include "sigplus/pen_record.h"

#include <platform/input_event.h>

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

// The control ID under which the capture dialog hosts the pad (see
// docs/compatibility.md).
inline constexpr unsigned int kPadControlId = 11000;

// The dialog's buttons that a script names (see docs/compatibility.md).
inline constexpr unsigned int kButtonOk = 1;
inline constexpr unsigned int kButtonCancel = 2;
inline constexpr unsigned int kButtonClear = 11006;

// Where `touch OK` and `touch RESET` press: the middle of the touch keys
// the capture dialog defines (OK at 177,7 and RESET at 15,7, 48 x 15 each;
// see docs/compatibility.md).
inline constexpr int kOkKeyX = 201;
inline constexpr int kOkKeyY = 14;
inline constexpr int kResetKeyX = 39;
inline constexpr int kResetKeyY = 14;

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
SIGPLUS_API std::vector<platform::InputEvent> parsePadScript(std::string_view text,
                                                                 unsigned int padControlId = kPadControlId);
// The same for a script file; errors name the file.
SIGPLUS_API std::vector<platform::InputEvent> readPadScriptFile(const std::filesystem::path& path,
                                                                    unsigned int padControlId = kPadControlId);

// Serves a script's events in order, then nothing. Safe to share between
// threads.
class SIGPLUS_API PadScriptSource : public platform::InputSource {
public:
    explicit PadScriptSource(std::vector<platform::InputEvent> events);

    std::optional<platform::InputEvent> next() override;
    // How many events are still to come.
    std::size_t remaining() const;

private:
    mutable std::mutex mutex_;
    std::vector<platform::InputEvent> events_;
    std::size_t next_ = 0;
};

// A source for a script file, ready for winplatform::setInputSource.
// Throws PadScriptError.
SIGPLUS_API std::shared_ptr<PadScriptSource> loadPadScript(const std::filesystem::path& path,
                                                           unsigned int padControlId = kPadControlId);

}  // namespace sigplus
