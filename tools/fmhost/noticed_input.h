// The capture dialogs' input in fmhost: the pad script's events, and a note
// each time there are none left, since the dialog that asked is then
// closed, cancelled, without anything on the screen to say why.
#pragma once

#include <platform/input_event.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace fmhost {

class NoticedInput final : public platform::InputSource {
public:
    // `script` may be null (no --pad): every dialog then finds nothing.
    NoticedInput(std::shared_ptr<platform::InputSource> script, std::optional<std::string> scriptPath,
                 std::ostream& notes);

    std::optional<platform::InputEvent> next() override;

private:
    std::shared_ptr<platform::InputSource> script_;
    std::optional<std::string> scriptPath_;
    std::ostream& notes_;
};

}  // namespace fmhost
