#include "noticed_input.h"

#include "dialog_watch.h"

#include <utility>

namespace fmhost {

NoticedInput::NoticedInput(std::shared_ptr<platform::InputSource> script, std::optional<std::string> scriptPath,
                           std::ostream& notes)
    : script_(std::move(script)), scriptPath_(std::move(scriptPath)), notes_(notes) {}

std::optional<platform::InputEvent> NoticedInput::next() {
    countDialogInputRequest();
    std::optional<platform::InputEvent> event;
    if (script_) event = script_->next();
    if (event) return event;
    if (scriptPath_) {
        notes_ << "fmhost: the pad script '" << *scriptPath_
               << "' has no input left: the dialog was closed as by its close box\n";
    } else {
        notes_ << "fmhost: no pad input: the dialog was closed as by its close box; give what the signer does "
                  "with --pad SCRIPT (docs/pad-script.md)\n";
    }
    notes_.flush();
    return std::nullopt;
}

}  // namespace fmhost
