// The drawing program's .bmp files: the ones kept in the tree are what it
// draws now, and what it writes reads back as drawn.
#include "gdi_dib.h"
#include "pad_bitmaps.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using padbitmaps::Depth;
using padbitmaps::PadBitmap;

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t read32(const std::vector<std::uint8_t>& data, std::size_t offset) {
    return static_cast<std::uint32_t>(data[offset]) | static_cast<std::uint32_t>(data[offset + 1]) << 8 |
           static_cast<std::uint32_t>(data[offset + 2]) << 16 | static_cast<std::uint32_t>(data[offset + 3]) << 24;
}

TEST(PadBitmaps, TheSixResourcesAreDrawn) {
    const auto bitmaps = padbitmaps::drawPadBitmaps();
    std::set<int> ids;
    for (const PadBitmap& bitmap : bitmaps) ids.insert(bitmap.resourceId);
    EXPECT_EQ(ids, (std::set<int>{IDB_BACKGROUND, IDB_OK_KEY, IDB_RESET_KEY, IDB_PROMPT, IDB_OK_KEY_PRESSED,
                                  IDB_RESET_KEY_PRESSED}));
    EXPECT_EQ(bitmaps.size(), 6u);
}

TEST(PadBitmaps, FilesInTheTreeAreWhatTheProgramDraws) {
    for (const PadBitmap& bitmap : padbitmaps::drawPadBitmaps()) {
        const std::string path = std::string(ZERA_PAD_BITMAP_DIR) + "/" + bitmap.fileName;
        const auto kept = readFile(path);
        ASSERT_FALSE(kept.empty()) << path;
        EXPECT_TRUE(kept == padbitmaps::encodeBmp(bitmap.raster, bitmap.depth))
            << path << " is out of date: build and run redraw_pad_bitmaps";
    }
}

TEST(PadBitmaps, WrittenFilesReadBackAsDrawn) {
    for (const PadBitmap& bitmap : padbitmaps::drawPadBitmaps()) {
        SCOPED_TRACE(bitmap.fileName);
        const auto file = padbitmaps::encodeBmp(bitmap.raster, bitmap.depth);
        ASSERT_GT(file.size(), 54u);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(read32(file, 2), file.size());
        const std::uint32_t colours = bitmap.depth == Depth::OneBit ? 2 : 16;
        EXPECT_EQ(read32(file, 10), 14 + 40 + 4 * colours) << "the pixels follow the palette";

        // A bitmap resource is the file without its file header.
        const auto image = winplatform::parseDib({file.data() + 14, file.size() - 14});
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, bitmap.raster.width);
        EXPECT_EQ(image->height, bitmap.raster.height);
        EXPECT_EQ(image->bitsPerPixel, bitmap.depth == Depth::OneBit ? 1 : 4);
        int mismatches = 0;
        for (int y = 0; y < bitmap.raster.height; ++y) {
            for (int x = 0; x < bitmap.raster.width; ++x) {
                const std::uint32_t expected = bitmap.raster.at(x, y) ? 0x000000 : 0xFFFFFF;
                const auto index = static_cast<std::size_t>(y * bitmap.raster.width + x);
                if (image->pixels[index] != expected) ++mismatches;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(PadBitmaps, FourBitPaletteIsTheStandardSixteenColours) {
    const auto file = padbitmaps::encodeBmp(padbitmaps::Raster(1, 1), Depth::FourBit);
    // Black, maroon, ... silver, grey, ... white: blue, green, red, 0.
    const std::vector<std::uint8_t> first{0, 0, 0, 0, 0, 0, 128, 0};
    EXPECT_TRUE(std::equal(first.begin(), first.end(), file.begin() + 54));
    const std::size_t silver = 54 + 7 * 4;
    EXPECT_EQ(file[silver], 192);
    EXPECT_EQ(file[silver + 4], 128) << "grey after silver";
    const std::size_t white = 54 + 15 * 4;
    EXPECT_EQ(file[white], 255);
    EXPECT_EQ(file[white + 1], 255);
    EXPECT_EQ(file[white + 2], 255);
}

TEST(PadBitmaps, DrawingOutsideThePictureIsAnError) {
    padbitmaps::Raster raster(4, 4);
    EXPECT_THROW(raster.set(4, 0), std::out_of_range);
    EXPECT_THROW(raster.set(0, -1), std::out_of_range);
    raster.set(3, 3);
    EXPECT_TRUE(raster.at(3, 3));
}

}  // namespace
