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
