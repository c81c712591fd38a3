// Where a window's input comes from when there is no screen: an input
// source that the host program (or a test) installs for the process. The
// dialog framework's modal loop asks it for the next event; when it has
// none left while a dialog is open, the dialog is closed as by its close
// box, so that a run never hangs.
#pragma once

#include "winplatform/types.h"

#include <memory>
#include <optional>
#include <string>

namespace winplatform {

struct InputEvent {
    enum class Kind {
        Click,         // a button of the dialog, by control ID
        Key,           // a key: VK_RETURN or VK_ESCAPE
        Close,         // the window's close box
        ControlInput,  // input for a hosted control, by control ID (pen strokes, touches)
    };
    Kind kind = Kind::Close;
    UINT controlId = 0;
    UINT key = 0;
    std::string payload;  // what a control makes of its input is its own business
    int line = 0;         // where the event came from, for messages
};

class InputSource {
public:
    virtual ~InputSource() = default;
    // The next event, or nothing when the source has run out.
    virtual std::optional<InputEvent> next() = 0;
};

// Installs the process's input source (null removes it); returns the
// previous one.
std::shared_ptr<InputSource> setInputSource(std::shared_ptr<InputSource> source);
// The next event of the installed source; nothing without a source.
std::optional<InputEvent> nextInputEvent();

inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_ESCAPE = 0x1B;

}  // namespace winplatform
