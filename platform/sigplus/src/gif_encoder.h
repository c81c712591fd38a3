// A GIF encoder for the control's images: one frame of palette indices, no
// extensions. It writes the same bytes as giflib's encoder for the same
// image (GIF87a, a clear code first, the code width raised and the table
// cleared at the same points), at a fraction of the cost: the string table
// is indexed directly by code and pixel instead of hashed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace sigplus {

struct GifPicture {
    int width = 0;
    int height = 0;
    // Palette indices, one byte per pixel, each row `stride` bytes after the
    // one above; every index below 1 << paletteBits.
    const std::uint8_t* pixels = nullptr;
    std::size_t stride = 0;
    // 1 << paletteBits colours as red, green, blue bytes.
    std::span<const std::uint8_t> palette;
    int paletteBits = 1;  // 1 to 8
};

std::vector<std::uint8_t> encodeGif(const GifPicture& picture);

}  // namespace sigplus
