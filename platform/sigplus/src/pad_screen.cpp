#include "pad_screen.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace sigplus {
namespace {

// The part of an area that lies on the screen.
ScreenArea onScreen(const ScreenArea& area) {
    const int x0 = std::max(area.x, 0);
    const int y0 = std::max(area.y, 0);
    const int x1 = std::min(area.x + std::max(area.width, 0), kPadScreenWidth);
    const int y1 = std::min(area.y + std::max(area.height, 0), kPadScreenHeight);
    return {x0, y0, std::max(x1 - x0, 0), std::max(y1 - y0, 0)};
}

// libpng reports its errors by a jump back here; nothing in this frame has
// a destructor to skip.
bool writeRows(png_structp png, png_infop info, std::FILE* file, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, kPadScreenWidth, kPadScreenHeight, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool PadScreen::blank() const {
    return std::all_of(pixels_.begin(), pixels_.end(), [](std::uint8_t p) { return p == 0; });
}

void PadScreen::clear(const ScreenArea& area) {
    const ScreenArea a = onScreen(area);
    for (int y = a.y; y < a.y + a.height; ++y) {
        for (int x = a.x; x < a.x + a.width; ++x) set(x, y, false);
    }
}

void PadScreen::draw(const ScreenArea& area, const BitmapPixels& bitmap) {
    const ScreenArea a = onScreen(area);
    for (int y = a.y; y < a.y + a.height; ++y) {
        const int by = y - area.y;
        if (by >= bitmap.height) break;
        for (int x = a.x; x < a.x + a.width; ++x) {
            const int bx = x - area.x;
            if (bx >= bitmap.width) break;
            set(x, y, bitmap.isDark(bx, by));
        }
    }
}

void PadScreen::line(int ax, int ay, int bx, int by, const ScreenArea& clip) {
    // Bresenham's line, every step plotted where the clip and the screen
    // allow.
    const int dx = std::abs(bx - ax);
    const int dy = -std::abs(by - ay);
    const int sx = ax < bx ? 1 : -1;
    const int sy = ay < by ? 1 : -1;
    int error = dx + dy;
    for (int x = ax, y = ay;;) {
        if (clip.contains(x, y) && kWholeScreen.contains(x, y)) set(x, y, true);
        if (x == bx && y == by) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

bool PadScreen::savePng(const std::filesystem::path& path) const {
    #ifdef _WIN32
    std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path.c_str(), L"wb"));
#else
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
#endif
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    // One bit per pixel, 1 for white: the rows are packed before libpng
    // gets control, so nothing of ours is skipped by its error jump.
    constexpr std::size_t kRowBytes = (kPadScreenWidth + 7) / 8;
    std::array<std::array<png_byte, kRowBytes>, kPadScreenHeight> rows{};
    std::array<png_bytep, kPadScreenHeight> rowPointers{};
    for (int y = 0; y < kPadScreenHeight; ++y) {
        auto& row = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < kPadScreenWidth; ++x) {
            if (!dark(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<png_byte>(0x80u >> (x % 8));
        }
        rowPointers[static_cast<std::size_t>(y)] = row.data();
    }
    const bool written = writeRows(png, info, file.get(), rowPointers.data());
    png_destroy_write_struct(&png, &info);
    return written && std::fflush(file.get()) == 0 && !std::ferror(file.get());
}

}  // namespace sigplus
