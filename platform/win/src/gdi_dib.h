// Reading a device-independent bitmap as a bitmap resource holds it: a
// BITMAPINFOHEADER (or one of its longer successors), the palette, then the
// pixel rows, each padded to four bytes.
#pragma once

#include "winplatform/types.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace winplatform {

struct DibImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    // Rows top-down whatever the order in the resource: 0x00RRGGBB.
    std::vector<std::uint32_t> pixels;
};

// Nothing if the data is not an uncompressed bitmap of 1, 4, 8, 16, 24 or
// 32 bits per pixel, or is cut short. A palette index beyond the palette
// reads as black.
std::optional<DibImage> parseDib(std::span<const BYTE> data);

}  // namespace winplatform
