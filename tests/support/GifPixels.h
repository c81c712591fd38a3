// GIFs read back from memory with giflib: the one frame a render gives, and
// what it shows.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

// A GIF with exactly one frame and a colour table; `read` is false for
// anything else, or bytes giflib cannot read.
struct DecodedGif {
    bool read = false;
    int width = 0;  // of the screen
    int height = 0;
    bool frameFillsScreen = false;
    std::vector<std::uint8_t> indices;  // the frame's, row by row
    std::vector<GifColorType> colours;  // the frame's own table, else the screen's
};

namespace gif_pixels_detail {

struct Source {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at = 0;
};

inline int readFromMemory(GifFileType* gif, GifByteType* into, int length) {
    auto* source = static_cast<Source*>(gif->UserData);
    const std::size_t n = std::min(source->bytes->size() - source->at, static_cast<std::size_t>(length));
    std::memcpy(into, source->bytes->data() + source->at, n);
    source->at += n;
    return static_cast<int>(n);
}

}  // namespace gif_pixels_detail

inline DecodedGif decodeGif(const std::vector<std::uint8_t>& bytes) {
    gif_pixels_detail::Source source{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, &gif_pixels_detail::readFromMemory, &error);
    DecodedGif out;
    if (gif == nullptr) return out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const SavedImage& frame = gif->SavedImages[0];
        const ColorMapObject* map = frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif->SColorMap;
        if (map != nullptr) {
            out.read = true;
            out.width = gif->SWidth;
            out.height = gif->SHeight;
            out.frameFillsScreen = frame.ImageDesc.Left == 0 && frame.ImageDesc.Top == 0 &&
                                   frame.ImageDesc.Width == gif->SWidth && frame.ImageDesc.Height == gif->SHeight;
            const auto count = static_cast<std::size_t>(frame.ImageDesc.Width) * static_cast<std::size_t>(frame.ImageDesc.Height);
            out.indices.assign(frame.RasterBits, frame.RasterBits + count);
            out.colours.assign(map->Colors, map->Colors + map->ColorCount);
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

// The red level of each pixel: a grey image's grey.
inline std::vector<std::uint8_t> greysOf(const DecodedGif& gif) {
    std::vector<std::uint8_t> grey;
    grey.reserve(gif.indices.size());
    for (const std::uint8_t index : gif.indices) grey.push_back(gif.colours.at(index).Red);
    return grey;
}

struct GifSize {
    int width = 0;
    int height = 0;
    int darkPixels = 0;
};

inline GifSize decode(const std::vector<std::uint8_t>& bytes) {
    const DecodedGif gif = decodeGif(bytes);
    GifSize size{gif.width, gif.height, 0};
    for (const std::uint8_t index : gif.indices) {
        const GifColorType& c = gif.colours.at(index);
        if (c.Red + c.Green + c.Blue < 3 * 96) ++size.darkPixels;
    }
    return size;
}
