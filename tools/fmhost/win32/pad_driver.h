// Plays a pad script into the real dialogs on Windows, as a person at the
// pad and the dialog would: pen records to the pad control's window, button
// clicks, the dialog's keys and its close box, each when its time on the
// script's clock comes. Message boxes are answered OK at once, and named on
// the notes, as the headless platform answers them.
#pragma once

#include "control_registration.h"

#include <platform/input_event.h>

#include <memory>
#include <ostream>

namespace fmhost {

// Watches the dialogs the calling thread opens, until the returned holder
// goes; one at a time in a process. Null if the system refused the watch.
Held installPadDriver(std::shared_ptr<platform::InputSource> input, std::ostream& notes);

}  // namespace fmhost
