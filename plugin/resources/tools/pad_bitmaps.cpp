#include "pad_bitmaps.h"

#include <cstddef>
#include <stdexcept>
#include <string_view>

namespace padbitmaps {

const Rgb kVgaPalette[16] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

Raster::Raster(int w, int h)
    : width(w), height(h), black(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), false) {}

bool Raster::at(int x, int y) const {
    return black[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
}

void Raster::set(int x, int y, bool isBlack) {
    // Drawing outside the picture is a mistake in the drawing code, not
    // something to clip silently.
    if (x < 0 || y < 0 || x >= width || y >= height) throw std::out_of_range("pixel outside the picture");
    black[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = isBlack;
}

namespace {

// A glyph is drawn from rows of '#' (black) and '.' (white), all of one
// width; a cell's rows start at the top of its line.
struct Glyph {
    char character;
    std::vector<std::string_view> rows;
};

int glyphWidth(const Glyph& glyph) { return static_cast<int>(glyph.rows.front().size()); }

// Capitals 5 x 7 for the key captions.
const std::vector<Glyph>& keyFont() {
    static const std::vector<Glyph> font = {
        {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
        {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
        {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
        {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
        {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    };
    return font;
}

// A proportional font for the prompt: 13 rows per line, capitals and
// ascenders on rows 0-9, the x-height on rows 3-9 (baseline row 9) and
// descenders on rows 10-12. Only the letters of the prompt are drawn.
const std::vector<Glyph>& promptFont() {
    static const std::vector<Glyph> font = {
        {'P', {"#####.", "#....#", "#....#", "#....#", "#....#", "#####.", "#.....", "#.....", "#.....", "#.....",
               "......", "......", "......"}},
        {'l', {"#", "#", "#", "#", "#", "#", "#", "#", "#", "#", ".", ".", "."}},
        {'e', {"......", "......", "......", ".####.", "#....#", "#....#", "######", "#.....", "#.....", ".####.",
               "......", "......", "......"}},
        {'a', {"......", "......", "......", ".####.", ".....#", ".....#", ".#####", "#....#", "#....#", ".#####",
               "......", "......", "......"}},
        {'s', {"......", "......", "......", ".####.", "#....#", "#.....", ".####.", ".....#", "#....#", ".####.",
               "......", "......", "......"}},
        {'i', {".", "#", ".", "#", "#", "#", "#", "#", "#", "#", ".", ".", "."}},
        {'g', {"......", "......", "......", ".#####", "#....#", "#....#", "#....#", "#....#", "#...##", ".###.#",
               ".....#", "#....#", ".####."}},
        {'n', {"......", "......", "......", "#.###.", "##...#", "#....#", "#....#", "#....#", "#....#", "#....#",
               "......", "......", "......"}},
        {'b', {"#.....", "#.....", "#.....", "#.###.", "##...#", "#....#", "#....#", "#....#", "##...#", "#.###.",
               "......", "......", "......"}},
        {'f', {"..##", ".#..", ".#..", "####", ".#..", ".#..", ".#..", ".#..", ".#..", ".#..", "....", "....",
               "...."}},
        {'o', {"......", "......", "......", ".####.", "#....#", "#....#", "#....#", "#....#", "#....#", ".####.",
               "......", "......", "......"}},
        {'r', {".....", ".....", ".....", "#.###", "##...", "#....", "#....", "#....", "#....", "#....", ".....",
               ".....", "....."}},
        {'c', {"......", "......", "......", ".####.", "#....#", "#.....", "#.....", "#.....", "#....#", ".####.",
               "......", "......", "......"}},
        {'t', {"....", ".#..", ".#..", "####", ".#..", ".#..", ".#..", ".#..", ".#..", "..##", "....", "....",
               "...."}},
        {'u', {"......", "......", "......", "#....#", "#....#", "#....#", "#....#", "#....#", "#...##", ".###.#",
               "......", "......", "......"}},
        {'.', {"..", "..", "..", "..", "..", "..", "..", "..", "##", "##", "..", "..", ".."}},
        {' ', {"...", "...", "...", "...", "...", "...", "...", "...", "...", "...", "...", "...", "..."}},
    };
    return font;
}

const Glyph& glyphFor(const std::vector<Glyph>& font, char c) {
    for (const Glyph& glyph : font) {
        if (glyph.character == c) return glyph;
    }
    throw std::invalid_argument(std::string("no glyph for '") + c + "'");
}

constexpr int kLetterSpacing = 1;

int textWidth(const std::vector<Glyph>& font, std::string_view text) {
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        width += glyphWidth(glyphFor(font, text[i]));
        if (i + 1 < text.size()) width += kLetterSpacing;
    }
    return width;
}

void drawText(Raster& raster, const std::vector<Glyph>& font, std::string_view text, int left, int top) {
    int x = left;
    for (const char c : text) {
        const Glyph& glyph = glyphFor(font, c);
        for (std::size_t row = 0; row < glyph.rows.size(); ++row) {
            for (std::size_t column = 0; column < glyph.rows[row].size(); ++column) {
                if (glyph.rows[row][column] == '#') {
                    raster.set(x + static_cast<int>(column), top + static_cast<int>(row));
                }
            }
        }
        x += glyphWidth(glyph) + kLetterSpacing;
    }
}

// Centred in the picture; an odd spare pixel goes to the right and bottom.
void drawCentredText(Raster& raster, const std::vector<Glyph>& font, std::string_view text) {
    const int lineHeight = static_cast<int>(font.front().rows.size());
    drawText(raster, font, text, (raster.width - textWidth(font, text)) / 2, (raster.height - lineHeight) / 2);
}

Raster drawBackground() {
    Raster raster(240, 64);
    for (int x = 0; x < raster.width; ++x) {
        raster.set(x, 0);
        raster.set(x, raster.height - 1);
    }
    for (int y = 0; y < raster.height; ++y) {
        raster.set(0, y);
        raster.set(raster.width - 1, y);
    }
    // The X mark in the square (5,39)-(25,59), just left of the line it
    // points at.
    for (int i = 0; i <= 20; ++i) {
        raster.set(5 + i, 39 + i);
        raster.set(25 - i, 39 + i);
    }
    for (int x = 30; x <= 230; ++x) raster.set(x, 59);
    return raster;
}

// A key 48 x 15: an outline with corners rounded over three pixels.
Raster drawKey(std::string_view caption) {
    Raster raster(48, 15);
    const int right = raster.width - 1;
    const int bottom = raster.height - 1;
    for (int x = 3; x <= right - 3; ++x) {
        raster.set(x, 0);
        raster.set(x, bottom);
    }
    for (int y = 3; y <= bottom - 3; ++y) {
        raster.set(0, y);
        raster.set(right, y);
    }
    // Each corner: two pixels on the row next to the edge, one below them.
    const int cornerX[3] = {1, 2, 1};
    const int cornerY[3] = {1, 1, 2};
    for (int i = 0; i < 3; ++i) {
        raster.set(cornerX[i], cornerY[i]);
        raster.set(right - cornerX[i], cornerY[i]);
        raster.set(cornerX[i], bottom - cornerY[i]);
        raster.set(right - cornerX[i], bottom - cornerY[i]);
    }
    drawCentredText(raster, keyFont(), caption);
    return raster;
}

Raster inverted(Raster raster) {
    raster.black.flip();
    return raster;
}

Raster drawPrompt() {
    Raster raster(234, 21);
    drawCentredText(raster, promptFont(), "Please sign before continuing.");
    return raster;
}

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFu));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

}  // namespace

std::vector<PadBitmap> drawPadBitmaps() {
    std::vector<PadBitmap> bitmaps;
    bitmaps.push_back({11003, "background_11003.bmp", Depth::OneBit, drawBackground()});
    bitmaps.push_back({11004, "ok_key_11004.bmp", Depth::FourBit, drawKey("OK")});
    bitmaps.push_back({11005, "reset_key_11005.bmp", Depth::FourBit, drawKey("RESET")});
    bitmaps.push_back({11030, "prompt_11030.bmp", Depth::OneBit, drawPrompt()});
    bitmaps.push_back({11036, "ok_key_pressed_11036.bmp", Depth::FourBit, inverted(drawKey("OK"))});
    bitmaps.push_back({11038, "reset_key_pressed_11038.bmp", Depth::FourBit, inverted(drawKey("RESET"))});
    return bitmaps;
}

std::vector<std::uint8_t> encodeBmp(const Raster& raster, Depth depth) {
    const unsigned bitsPerPixel = depth == Depth::OneBit ? 1 : 4;
    const unsigned colours = 1u << bitsPerPixel;
    const auto width = static_cast<unsigned>(raster.width);
    const auto height = static_cast<unsigned>(raster.height);
    const unsigned stride = (width * bitsPerPixel + 31) / 32 * 4;
    const unsigned bitsOffset = 14 + 40 + 4 * colours;
    const unsigned imageSize = stride * height;
    // Palette indices of the two colours drawn.
    const unsigned blackIndex = 0;
    const unsigned whiteIndex = depth == Depth::OneBit ? 1 : 15;

    std::vector<std::uint8_t> out;
    out.reserve(bitsOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    put32(out, bitsOffset + imageSize);
    put32(out, 0);  // two reserved words
    put32(out, bitsOffset);

    put32(out, 40);
    put32(out, width);
    put32(out, height);  // positive: bottom-up rows
    put16(out, 1);       // planes
    put16(out, bitsPerPixel);
    put32(out, 0);  // BI_RGB
    put32(out, imageSize);
    put32(out, 2835);  // 72 dots per inch, in dots per metre
    put32(out, 2835);
    put32(out, colours);
    put32(out, 0);

    for (unsigned i = 0; i < colours; ++i) {
        const Rgb colour = depth == Depth::OneBit ? (i == 0 ? Rgb{0, 0, 0} : Rgb{255, 255, 255}) : kVgaPalette[i];
        out.push_back(colour.blue);
        out.push_back(colour.green);
        out.push_back(colour.red);
        out.push_back(0);
    }

    for (int y = raster.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < raster.width; ++x) {
            const unsigned index = raster.at(x, y) ? blackIndex : whiteIndex;
            const auto bit = static_cast<unsigned>(x) * bitsPerPixel;
            // The leftmost pixel is in the byte's high bits.
            const unsigned shift = 8 - bitsPerPixel - bit % 8;
            row[bit / 8] = static_cast<std::uint8_t>(row[bit / 8] | (index << shift));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace padbitmaps
