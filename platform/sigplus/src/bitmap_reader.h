// A GDI bitmap's pixels, read through GetDIBits the same way on every
// system.
#pragma once

#include "bitmap_pixels.h"

#include <platform/window_dc.h>
#include <windows.h>

#include <cstdint>
#include <vector>

namespace sigplus {

// False, and `out` untouched, for a handle that is no bitmap or a bitmap
// too large to be a screen image.
inline bool readBitmapPixels(HBITMAP bitmap, BitmapPixels* out) {
    if (out == nullptr || bitmap == nullptr) return false;
    BITMAP description{};
    if (GetObjectW(bitmap, sizeof description, &description) != sizeof description) return false;
    const int width = description.bmWidth;
    const int height = description.bmHeight;
    constexpr int kMaxSide = 1 << 14;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;

    // Top-down rows of 32-bit pixels (blue, green, red, unused), whatever
    // the bitmap's own format: a monochrome bitmap comes out black and white.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const platform::WindowDc screen(nullptr);
    if (screen.get() == nullptr ||
        GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS) != height) {
        return false;
    }

    BitmapPixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.bitsPerPixel = description.bmBitsPixel * description.bmPlanes;
    pixels.luminance.reserve(bits.size());
    for (const std::uint32_t pixel : bits) pixels.luminance.push_back(luminanceOf(pixel & 0x00FFFFFFu));
    *out = std::move(pixels);
    return true;
}

}  // namespace sigplus
