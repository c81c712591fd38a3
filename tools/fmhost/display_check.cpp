#include "display_check.h"

namespace fmhost {

// The Linux platform's dialogs need no display: their input comes from the
// program's input source.
void noteMissingDisplay(std::ostream&) {}

}  // namespace fmhost
