// Registers the signature pad control for the run, as its installer does on
// a real machine: its library as the in-process server of its class; and
// gives the pad its input.
#pragma once

#include "options.h"

#include <memory>
#include <ostream>
#include <string>

namespace fmhost {

// What a run keeps of the set-up below (a loaded library, a registration,
// hooks); undone when it goes. Where nothing needs keeping, none is made.
class HeldForRun {
public:
    virtual ~HeldForRun() = default;
};
using Held = std::unique_ptr<HeldForRun>;

// Nothing to do with --no-control. Returns false, with a message, when the
// library cannot be registered.
bool registerControl(const Options& options, const std::string& programPath, Held& held, std::string& error);

// Installs the pad script of --pad as the input of the capture dialogs and
// makes the folder of --screens, where the control saves its screens.
// Whenever a dialog finds no input left, and is therefore closed as by its
// close box, says so on `notes`. Returns false, with a message naming the
// line and column of a fault in the script, when either cannot be done.
bool preparePad(const Options& options, std::ostream& notes, Held& held, std::string& error);

}  // namespace fmhost
