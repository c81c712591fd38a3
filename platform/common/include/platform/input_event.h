// The input of a dialog as a list of events, the same on every system: the
// events a pad script is read into, which the dialog framework's modal
// loop takes one at a time on Linux and a pad driver plays into the real
// dialogs on Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The two keys a dialog answers to, by their virtual-key codes.
inline constexpr unsigned int kKeyEnter = 0x0D;
inline constexpr unsigned int kKeyEscape = 0x1B;

struct InputEvent {
    enum class Kind {
        Click,         // a button of the dialog, by control ID
        Key,           // a key: kKeyEnter or kKeyEscape
        Close,         // the window's close box
        ControlInput,  // input for a hosted control, by control ID (pen strokes, touches)
    };
    Kind kind = Kind::Close;
    unsigned int controlId = 0;
    unsigned int key = 0;
    std::string payload;  // what a control makes of its input is its own business
    int line = 0;         // where the event came from, for messages
    // When the event has happened in full, in milliseconds on the clock of
    // the input's author (a pen record: when the pen lifts). Where input is
    // played as it comes, in real time, an event waits for its time; the
    // headless loop takes events as fast as it asks.
    std::uint32_t timeMs = 0;
};

class InputSource {
public:
    virtual ~InputSource() = default;
    // The next event, or nothing when the source has run out.
    virtual std::optional<InputEvent> next() = 0;
};

}  // namespace platform
