// Whether this program's dialogs have a display to show on. Under wine
// without one (no desktop, no DISPLAY) a dialog cannot open, and a capture
// then answers an empty text with nothing on the screen to say why.
#pragma once

#include <ostream>

namespace fmhost {

// Says so once on `notes` when no window can be made here.
void noteMissingDisplay(std::ostream& notes);

}  // namespace fmhost
