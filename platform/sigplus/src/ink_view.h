// A view of the pad's ink area: a window that shows the ink and takes the
// mouse shows the ink area stretched over its whole client area, so a
// position in the window is a position on the pad's screen and back.
#pragma once

#include "pad.h"
#include "pad_screen.h"
#include "sigplus/ink.h"

#include <optional>

namespace sigplus {

struct ViewSize {
    int width = 0;
    int height = 0;
};

struct ViewPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const ViewPoint&, const ViewPoint&) = default;
};

// The screen pixel under a position of the view: inside the ink area and
// the screen, whatever the position (a dragged mouse leaves the view).
// Nothing for an empty view, or an ink area with no pixel on the screen.
std::optional<ViewPoint> screenPixelAt(ViewPoint position, ViewSize view, const ScreenArea& inkArea);

// Where an ink point shows in the view: the middle of the screen pixel it
// was recorded from, as the pad window maps pixels to ink coordinates.
ViewPoint viewPositionOf(Point ink, const PadWindow& window, ViewSize view, const ScreenArea& inkArea);

}  // namespace sigplus
