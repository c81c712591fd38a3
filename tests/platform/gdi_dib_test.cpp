// Reading bitmap resources: the pixel formats, row orders and the ways a
// resource can be malformed.
#include "gdi_dib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using winplatform::parseDib;

struct Dib {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 1;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    std::vector<std::uint8_t> bits;      // rows as stored, padding included
};

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::vector<std::uint8_t> bytes(const Dib& dib) {
    std::vector<std::uint8_t> out;
    put32(out, dib.headerSize);
    put32(out, static_cast<std::uint32_t>(dib.width));
    put32(out, static_cast<std::uint32_t>(dib.height));
    put16(out, dib.planes);
    put16(out, dib.bitsPerPixel);
    put32(out, dib.compression);
    put32(out, 0);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, dib.coloursUsed);
    put32(out, 0);
    out.resize(dib.headerSize, 0);
    for (const std::uint32_t colour : dib.palette) {
        out.push_back(static_cast<std::uint8_t>(colour & 0xFF));
        out.push_back(static_cast<std::uint8_t>((colour >> 8) & 0xFF));
        out.push_back(static_cast<std::uint8_t>((colour >> 16) & 0xFF));
        out.push_back(0);
    }
    out.insert(out.end(), dib.bits.begin(), dib.bits.end());
    return out;
}

Dib oneBit(std::int32_t width, std::int32_t height, std::vector<std::uint8_t> bits) {
    Dib dib;
    dib.width = width;
    dib.height = height;
    dib.palette = {0x000000, 0xFFFFFF};
    dib.bits = std::move(bits);
    return dib;
}

TEST(Dib, OneBitRowsAreBottomUpAndHighBitFirst) {
    // Two rows of 10 pixels, each padded to four bytes; the first stored row
    // is the bottom one.
    const auto data = bytes(oneBit(10, 2, {0b10000000, 0b01000000, 0, 0, 0b00000001, 0, 0, 0}));
    const auto image = parseDib(data);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 10);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->bitsPerPixel, 1);
    ASSERT_EQ(image->pixels.size(), 20u);
    std::vector<std::uint32_t> expected(20, 0x000000);
    expected[7] = 0xFFFFFF;       // top row, from the second stored row
    expected[10 + 0] = 0xFFFFFF;  // bottom row
    expected[10 + 9] = 0xFFFFFF;
    EXPECT_EQ(image->pixels, expected);
}

TEST(Dib, NegativeHeightMeansTopDown) {
    const auto image = parseDib(bytes(oneBit(1, -2, {0x80, 0, 0, 0, 0x00, 0, 0, 0})));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0xFFFFFF, 0x000000}));
}

TEST(Dib, FourBitPixelsUseTheirPaletteHighNibbleFirst) {
    Dib dib;
    dib.width = 3;
    dib.height = 1;
    dib.bitsPerPixel = 4;
    for (std::uint32_t i = 0; i < 16; ++i) dib.palette.push_back(i * 0x010101);
    dib.bits = {0xF0, 0x70, 0, 0};
    const auto image = parseDib(bytes(dib));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0x0F0F0F, 0x000000, 0x070707}));
}

TEST(Dib, AShortPaletteIsNamedAndIndicesBeyondItReadBlack) {
    Dib dib;
    dib.width = 4;
    dib.height = 1;
    dib.bitsPerPixel = 8;
    dib.coloursUsed = 3;
    dib.palette = {0x112233, 0x445566, 0x778899};
    dib.bits = {2, 0, 1, 200};
    const auto image = parseDib(bytes(dib));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0x778899, 0x112233, 0x445566, 0x000000}));
}

TEST(Dib, TrueColourRowsAreBlueGreenRedAndPadded) {
    Dib dib;
    dib.width = 3;
    dib.height = 2;
    dib.bitsPerPixel = 24;
    // Bottom row, then top row; 9 bytes each, padded to 12.
    dib.bits = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xEE, 0xEE, 0xEE,
                0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xEE, 0xEE, 0xEE};
    const auto image = parseDib(bytes(dib));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels,
              (std::vector<std::uint32_t>{0x302010, 0x605040, 0x908070, 0x030201, 0x060504, 0x090807}));
}

TEST(Dib, SixteenAndThirtyTwoBitPixels) {
    Dib sixteen;
    sixteen.width = 2;
    sixteen.height = 1;
    sixteen.bitsPerPixel = 16;
    // 0x7C00 is full red, 0x001F full blue in five bits each.
    sixteen.bits = {0x00, 0x7C, 0x1F, 0x00};
    const auto a = parseDib(bytes(sixteen));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->pixels, (std::vector<std::uint32_t>{0xFF0000, 0x0000FF}));

    Dib thirtyTwo;
    thirtyTwo.width = 1;
    thirtyTwo.height = 1;
    thirtyTwo.bitsPerPixel = 32;
    thirtyTwo.bits = {0x33, 0x22, 0x11, 0xFF};
    const auto b = parseDib(bytes(thirtyTwo));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->pixels, (std::vector<std::uint32_t>{0x112233}));
}

TEST(Dib, LongerHeadersAreRead) {
    Dib dib = oneBit(1, 1, {0x80, 0, 0, 0});
    dib.headerSize = 124;
    const auto image = parseDib(bytes(dib));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0xFFFFFF}));
}

TEST(Dib, EveryCutShortResourceIsRefused) {
    const auto data = bytes(oneBit(33, 3, std::vector<std::uint8_t>(24, 0xA5)));
    ASSERT_TRUE(parseDib(data));
    for (std::size_t length = 0; length < data.size(); ++length) {
        EXPECT_FALSE(parseDib({data.data(), length})) << "cut to " << length << " bytes";
    }
}

TEST(Dib, UnreadableFormsAreRefused) {
    const Dib good = oneBit(8, 1, {0xFF, 0, 0, 0});
    ASSERT_TRUE(parseDib(bytes(good)));

    Dib dib = good;
    dib.compression = 1;  // run-length encoded
    EXPECT_FALSE(parseDib(bytes(dib))) << "compressed";
    dib = good;
    dib.compression = 3;
    EXPECT_FALSE(parseDib(bytes(dib))) << "bit fields";
    dib = good;
    dib.bitsPerPixel = 2;
    EXPECT_FALSE(parseDib(bytes(dib))) << "2 bits per pixel";
    dib = good;
    dib.planes = 2;
    EXPECT_FALSE(parseDib(bytes(dib))) << "two planes";
    dib = good;
    dib.width = 0;
    EXPECT_FALSE(parseDib(bytes(dib))) << "no width";
    dib = good;
    dib.width = -8;
    EXPECT_FALSE(parseDib(bytes(dib))) << "negative width";
    dib = good;
    dib.height = 0;
    EXPECT_FALSE(parseDib(bytes(dib))) << "no height";
    dib = good;
    dib.height = INT32_MIN;
    EXPECT_FALSE(parseDib(bytes(dib))) << "a height with no positive counterpart";
    dib = good;
    dib.coloursUsed = 3;
    dib.palette.push_back(0x123456);
    EXPECT_FALSE(parseDib(bytes(dib))) << "more colours than one bit can index";
    dib = good;
    dib.headerSize = 44;
    EXPECT_FALSE(parseDib(bytes(dib))) << "an unknown header";
}

TEST(Dib, HugeDimensionsAreRefusedWithoutReadingPastTheData) {
    Dib dib = oneBit(0x7FFFFFFF, 0x7FFFFFFF, {0, 0, 0, 0});
    EXPECT_FALSE(parseDib(bytes(dib)));
    dib = oneBit(0x7FFFFFFF, 1, {0, 0, 0, 0});
    EXPECT_FALSE(parseDib(bytes(dib))) << "one row, far longer than the data";
    dib = oneBit(1, 0x40000000, {0, 0, 0, 0});
    EXPECT_FALSE(parseDib(bytes(dib)));
    Dib big;
    big.width = 1;
    big.height = 1;
    big.bitsPerPixel = 24;
    big.coloursUsed = 0xFFFFFFFF;  // a colour table larger than the data
    big.bits = {0, 0, 0, 0};
    EXPECT_FALSE(parseDib(bytes(big)));
}

}  // namespace
