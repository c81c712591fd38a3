#include "pad.h"

#include "bitmap_reader.h"

#include <algorithm>
#include <cmath>

namespace sigplus {
namespace {

bool inRange(int index) { return index >= 0 && index < kTouchKeyCount; }

// The middle of a screen pixel in ink units, on the window's span.
std::int16_t inkCoordinate(int pixel, int screenSize, int from, int to, int span) {
    if (to <= from || span <= 0) return static_cast<std::int16_t>(pixel);
    const double ink = (pixel + 0.5) * span / screenSize;
    return static_cast<std::int16_t>(std::clamp(std::lround(ink), 0L, static_cast<long>(std::min(span, 32767)) - 1));
}

}  // namespace

void Pad::reset() {
    keys_ = {};
    touched_ = {};
    inkArea_ = kWholeScreen;
    displayInkArea_ = kWholeScreen;
    showInk_ = false;
}

void Pad::clearArea(const ScreenArea& area) {
    beforeDrawing(area);
    screen_.clear(area);
}

bool Pad::drawBitmap(const ScreenArea& area, HBITMAP bitmap) {
    BitmapPixels pixels;
    if (!readBitmapPixels(bitmap, &pixels)) return false;
    beforeDrawing(area);
    screen_.draw(area, pixels);
    return true;
}

bool Pad::defineKey(int index, const ScreenArea& area) {
    if (!inRange(index)) return false;
    keys_[static_cast<std::size_t>(index)] = {true, area};
    touched_[static_cast<std::size_t>(index)] = false;
    return true;
}

std::optional<bool> Pad::keyTouched(int index) const {
    if (!inRange(index)) return std::nullopt;
    return touched_[static_cast<std::size_t>(index)];
}

void Pad::penDown(const PenPoint& point) {
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i].defined && keys_[i].area.contains(point.x, point.y)) touched_[i] = true;
    }
}

Ink Pad::inkOf(const PenInput& pen, const PadWindow& window, bool recording, std::int32_t displayMode) {
    Ink ink;
    if (!recording) return ink;
    const bool echo = showInk_ && displayMode == kDisplayModeShowInk;
    const PenPoint* previous = nullptr;
    for (const PenPoint& point : pen.points) {
        if (!inkArea_.contains(point.x, point.y)) {
            previous = nullptr;
            continue;
        }
        if (previous == nullptr) ink.emplace_back();
        ink.back().push_back({inkCoordinate(point.x, kPadScreenWidth, window.xFrom, window.xTo, window.spanX),
                              inkCoordinate(point.y, kPadScreenHeight, window.yFrom, window.yTo, window.spanY)});
        if (echo) {
            const PenPoint& from = previous != nullptr ? *previous : point;
            screen_.line(from.x, from.y, point.x, point.y, displayInkArea_);
        }
        previous = &point;
    }
    return ink;
}

}  // namespace sigplus
