// Where a window's input comes from when there is no screen: an input
// source that the host program (or a test) installs for the process. The
// dialog framework's modal loop asks it for the next event; when it has
// none left while a dialog is open, the dialog is closed as by its close
// box, so that a run never hangs.
#pragma once

#include "winplatform/system.h"
#include "winplatform/types.h"
#include "unknwn.h"

#include <platform/input_event.h>

#include <memory>
#include <optional>
#include <string>

namespace winplatform {

using platform::InputEvent;
using platform::InputSource;

// Installs the process's input source (null removes it); returns the
// previous one.
std::shared_ptr<InputSource> setInputSource(std::shared_ptr<InputSource> source);
// The next event of the installed source; nothing without a source.
std::optional<InputEvent> nextInputEvent();
// Whether a dialog has anywhere to show. A module that stands alone, with
// no program's platform in its process (as in a FileMaker Server), has no
// screen: its dialogs cannot open, as under Windows without a display.
bool hasScreen();

// What a hosted control answers to take its input from the source: the
// payload of a ControlInput event, as the source gave it.
// {5B1E7C6A-0D7F-4E55-9C1B-2A8F3E6D4C10}
inline constexpr IID IID_IHeadlessInput{0x5B1E7C6A, 0x0D7F, 0x4E55, {0x9C, 0x1B, 0x2A, 0x8F, 0x3E, 0x6D, 0x4C, 0x10}};

struct IHeadlessInput : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE DeliverInput(const char* payload, ULONG length) = 0;

protected:
    ~IHeadlessInput() = default;
};

static_assert(platform::kKeyEnter == VK_RETURN && platform::kKeyEscape == VK_ESCAPE,
              "a scripted key is its virtual-key code");

}  // namespace winplatform
