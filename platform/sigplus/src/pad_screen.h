// The pad's screen: 240 x 64 pixels, each dark or light.
#pragma once

#include "sigplus/pen_record.h"

#include "bitmap_pixels.h"

#include <array>
#include <cstdint>
#include <filesystem>

namespace sigplus {

// A rectangle on the screen, in pixels.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    bool coversScreen() const {
        return x <= 0 && y <= 0 && x + width >= kPadScreenWidth && y + height >= kPadScreenHeight;
    }
};

inline constexpr ScreenArea kWholeScreen{0, 0, kPadScreenWidth, kPadScreenHeight};

class PadScreen {
public:
    bool dark(int x, int y) const { return pixels_[index(x, y)] != 0; }
    bool blank() const;

    // Makes the part of the area that lies on the screen light.
    void clear(const ScreenArea& area);
    // Copies the bitmap's top-left part into the area, dark where the bitmap
    // is dark and light elsewhere; what falls outside the bitmap or the
    // screen is left alone.
    void draw(const ScreenArea& area, const BitmapPixels& bitmap);
    // A one-pixel dark line from a to b, only where it lies inside `clip`.
    void line(int ax, int ay, int bx, int by, const ScreenArea& clip);

    // A one-bit grey PNG of the screen; false when it cannot be written.
    bool savePng(const std::filesystem::path& path) const;

    friend bool operator==(const PadScreen&, const PadScreen&) = default;

private:
    static std::size_t index(int x, int y) {
        return static_cast<std::size_t>(y) * kPadScreenWidth + static_cast<std::size_t>(x);
    }
    void set(int x, int y, bool isDark) { pixels_[index(x, y)] = isDark ? 1 : 0; }

    std::array<std::uint8_t, static_cast<std::size_t>(kPadScreenWidth) * kPadScreenHeight> pixels_{};
};

}  // namespace sigplus
