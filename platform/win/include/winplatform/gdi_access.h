// What a control of this platform needs to show a GDI bitmap: its pixels.
// Not part of the Win32 subset; on Windows a control draws the bitmap
// through a device context instead.
#pragma once

#include "winplatform/gdi.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace winplatform {

struct BitmapPixels {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // of the image the bitmap was loaded from
    // One byte per pixel, rows top-down, left to right: the luminance of the
    // pixel's colour, 0 for black to 255 for white.
    std::vector<std::uint8_t> luminance;

    std::uint8_t at(int x, int y) const {
        return luminance[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
    // Whether a one-bit screen shows the pixel dark: below half luminance.
    bool isDark(int x, int y) const { return at(x, y) < 128; }
};

// Copies the pixels of a live bitmap object; false (and `out` untouched)
// for any other handle.
__attribute__((visibility("default"))) bool readBitmapPixels(HBITMAP bitmap, BitmapPixels* out);

}  // namespace winplatform
