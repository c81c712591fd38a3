// Scripted input for the real dialogs of the Windows test programs, under
// the names the Linux tests use: the events of the installed source are
// posted to each dialog as it is made (scripted_dialogs.cpp), and a dialog
// whose events run out is closed as by its close box.
#pragma once

#include <windows.h>

#include <platform/input_event.h>

#include <memory>
#include <optional>
#include <string>

namespace winplatform {

using platform::InputEvent;
using platform::InputSource;

std::shared_ptr<InputSource> setInputSource(std::shared_ptr<InputSource> source);

}  // namespace winplatform

// The tests name the two keys in the platform's namespace, where Win32 has
// them as macros.
#undef VK_RETURN
#undef VK_ESCAPE
inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_ESCAPE = 0x1B;
namespace winplatform {
using ::VK_ESCAPE;
using ::VK_RETURN;
}  // namespace winplatform
