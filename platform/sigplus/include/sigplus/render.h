// Signature images.
#pragma once

#include "sigplus/ink.h"

#include <cstdint>
#include <vector>

namespace sigplus {

inline constexpr int kMaxRenderSide = 4096;

struct RenderSettings {
    int width = 215;
    int height = 70;
    // In the control's units: 15 draws a line about 2.5 pixels wide at
    // 215 x 70; the line grows with the image.
    int penWidth = 15;
    // 0 fits the ink's extent into the image; any other value places the ink
    // inside its span (the given area, when it is not empty).
    int option = 0;
    int spanX = 0;
    int spanY = 0;
};

// A GIF of the ink, dark anti-aliased strokes on white, at the settings'
// size clamped to 1 .. kMaxRenderSide. An empty ink gives a blank image.
std::vector<std::uint8_t> renderGif(const Ink& ink, const RenderSettings& settings);

}  // namespace sigplus
