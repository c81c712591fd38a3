// Pictures of the pad's screen, saved as PNG files into a folder: one for
// each screen the pad showed (at every refresh, before a drawing over the
// whole screen, and when the control goes). The folder is named by SIGPLUS_SCREENS when
// a control first uses its pad; without it nothing is saved.
#pragma once

#include "pad_screen.h"
#include "sigplus/control.h"

#include <filesystem>
#include <optional>

namespace sigplus {

class ScreenPictures {
public:
    // The folder of SIGPLUS_SCREENS, if it is set and not empty.
    ScreenPictures();

    // Saves the screen as the next picture ("screen-001.png", numbered for
    // the process), unless it is the same as the last screen offered or
    // the screen before any was (blank). A picture that cannot be written
    // is left out.
    void offer(const PadScreen& screen);

private:
    std::optional<std::filesystem::path> folder_;
    PadScreen last_;
};

}  // namespace sigplus
