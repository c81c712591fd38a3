// The six images the capture dialog shows on the pad's 240 x 64 screen,
// drawn in code so that they can be redrawn and checked instead of being
// edited by hand. Nothing here depends on the platform library: the drawing
// program is a host tool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace padbitmaps {

// A black-and-white picture, top-down rows; true is a black pixel.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<bool> black;

    Raster() = default;
    Raster(int w, int h);
    bool at(int x, int y) const;
    void set(int x, int y, bool isBlack = true);
};

// How an image is stored: 1 bit per pixel with the palette black, white; or
// 4 bits per pixel with the standard 16-colour palette, of which only black
// (index 0) and white (index 15) are used.
enum class Depth { OneBit, FourBit };

struct PadBitmap {
    int resourceId = 0;
    std::string fileName;  // inside plugin/resources/bitmaps
    Depth depth = Depth::OneBit;
    Raster raster;
};

// All six, in resource-ID order.
std::vector<PadBitmap> drawPadBitmaps();

// A Windows .bmp file: BITMAPFILEHEADER, BITMAPINFOHEADER, the palette and
// bottom-up rows padded to four bytes.
std::vector<std::uint8_t> encodeBmp(const Raster& raster, Depth depth);

// The standard 16-colour palette, in palette order.
struct Rgb {
    std::uint8_t red, green, blue;
};
extern const Rgb kVgaPalette[16];

}  // namespace padbitmaps
