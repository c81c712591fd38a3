// How pen positions on the pad's screen become ink coordinates (pad.h).
#pragma once

namespace sigplus {

// What the control's properties say about the tablet at the moment.
struct PadWindow {
    int xFrom = 0;
    int yFrom = 0;
    int xTo = 0;
    int yTo = 0;
    int spanX = 0;
    int spanY = 0;
};

}  // namespace sigplus
