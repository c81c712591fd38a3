// The pixels of a bitmap as the pad's one-bit screen looks at them. Plain
// C++: bitmap_reader.h fills it from a GDI bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sigplus {

struct BitmapPixels {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // of the bitmap as GetObjectW describes it
    // One byte per pixel, rows top-down, left to right: the luminance of the
    // pixel's colour, 0 for black to 255 for white.
    std::vector<std::uint8_t> luminance;

    std::uint8_t at(int x, int y) const {
        return luminance[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
    // Whether a one-bit screen shows the pixel dark: below half luminance.
    bool isDark(int x, int y) const { return at(x, y) < 128; }
};

// The luminance of a colour given as 0x00RRGGBB (ITU-R BT.601 weights,
// rounded), the same on every system.
inline std::uint8_t luminanceOf(std::uint32_t colour) {
    const std::uint32_t red = (colour >> 16) & 0xFF;
    const std::uint32_t green = (colour >> 8) & 0xFF;
    const std::uint32_t blue = colour & 0xFF;
    return static_cast<std::uint8_t>((red * 299 + green * 587 + blue * 114 + 500) / 1000);
}

}  // namespace sigplus
