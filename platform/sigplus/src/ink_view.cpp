#include "ink_view.h"

#include "sigplus/pen_record.h"

#include <algorithm>
#include <cmath>

namespace sigplus {
namespace {

// One axis of the view onto the ink area's pixels that lie on the screen.
std::optional<int> pixelAt(int position, int viewSize, int areaFrom, int areaSize, int screenSize) {
    const int from = std::max(areaFrom, 0);
    const int to = std::min(areaFrom + areaSize, screenSize);  // one past the last pixel
    if (viewSize <= 0 || areaSize <= 0 || from >= to) return std::nullopt;
    const long long scaled = static_cast<long long>(std::clamp(position, 0, viewSize - 1)) * areaSize / viewSize;
    return std::clamp(areaFrom + static_cast<int>(scaled), from, to - 1);
}

// The inverse of the pad window's pixel-to-ink mapping, to the pixel's
// middle: ink = (pixel + 0.5) * span / screen.
double screenOf(int ink, int screenSize, int from, int to, int span) {
    if (to <= from || span <= 0) return ink + 0.5;
    return (ink + 0.5) * screenSize / span;
}

int viewOf(double screen, int viewSize, int areaFrom, int areaSize) {
    if (areaSize <= 0) return 0;
    return static_cast<int>(std::floor((screen - areaFrom) * viewSize / areaSize));
}

}  // namespace

std::optional<ViewPoint> screenPixelAt(ViewPoint position, ViewSize view, const ScreenArea& inkArea) {
    const auto x = pixelAt(position.x, view.width, inkArea.x, inkArea.width, kPadScreenWidth);
    const auto y = pixelAt(position.y, view.height, inkArea.y, inkArea.height, kPadScreenHeight);
    if (!x || !y) return std::nullopt;
    return ViewPoint{*x, *y};
}

ViewPoint viewPositionOf(Point ink, const PadWindow& window, ViewSize view, const ScreenArea& inkArea) {
    const double x = screenOf(ink.x, kPadScreenWidth, window.xFrom, window.xTo, window.spanX);
    const double y = screenOf(ink.y, kPadScreenHeight, window.yFrom, window.yTo, window.spanY);
    return {viewOf(x, view.width, inkArea.x, inkArea.width), viewOf(y, view.height, inkArea.y, inkArea.height)};
}

}  // namespace sigplus
