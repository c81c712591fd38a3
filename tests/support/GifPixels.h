// What a rendered GIF shows: its size and how many of its pixels are dark.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

struct GifSize {
    int width = 0;
    int height = 0;
    int darkPixels = 0;
};

inline int readFromMemory(GifFileType* gif, GifByteType* into, int length) {
    auto* source = static_cast<std::pair<const std::uint8_t*, std::size_t>*>(gif->UserData);
    const auto n = static_cast<std::size_t>(length) < source->second ? static_cast<std::size_t>(length) : source->second;
    std::copy(source->first, source->first + n, into);
    source->first += n;
    source->second -= n;
    return static_cast<int>(n);
}

inline GifSize decode(const std::vector<std::uint8_t>& bytes) {
    std::pair<const std::uint8_t*, std::size_t> source{bytes.data(), bytes.size()};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, &readFromMemory, &error);
    GifSize size;
    if (gif == nullptr) return size;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        size.width = gif->SWidth;
        size.height = gif->SHeight;
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        const int pixels = image.ImageDesc.Width * image.ImageDesc.Height;
        for (int i = 0; i < pixels && map != nullptr; ++i) {
            const GifColorType& c = map->Colors[image.RasterBits[i]];
            if (c.Red + c.Green + c.Blue < 3 * 96) ++size.darkPixels;
        }
    }
    DGifCloseFile(gif, &error);
    return size;
}

