// The canvas a signature is drawn on: palette levels, one byte per pixel,
// 0 for white up to kLevels - 1 for black. A round pen of a given radius
// draws anti-aliased lines: a pixel's level is its coverage rounded to a
// level, coverage being min(1, radius + 0.5 - distance to the line).
//
// Thin pens (all but the widest) draw by stamping: the pen's footprint is
// worked out once per radius for each of 32 x 32 sub-pixel positions, and
// a line is the footprints at points half a pixel apart along it, each
// merged by keeping the darker level. A point moves at most 1/64 pixel each
// way to its sub-pixel position, so a pixel's level moves by at most one from
// what the exact distance gives, and mostly not at all. Wider pens are
// drawn exactly, pixel by pixel.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sigplus {

inline constexpr int kLevels = 8;

class Canvas {
public:
    Canvas(int width, int height);

    void setRadius(double radius);
    // A round-capped line of the canvas's radius from a to b, in pixels
    // (pixel x covers x to x + 1); `joined` when a is where the last line
    // ended.
    void line(double ax, double ay, double bx, double by, bool joined = false);

    const std::uint8_t* pixels() const { return pixels_.data() + origin_; }
    std::size_t stride() const { return stride_; }

    // The widest stamp, in pixels, and its reach from the pen's pixel.
    static constexpr int kStampSize = 16;
    static constexpr int kMaxStampReach = 7;

private:
    void stampLine(double ax, double ay, double bx, double by, bool joined);
    void exactLine(double ax, double ay, double bx, double by);
    void exactPiece(double ax, double ay, double bx, double by);
    std::uint8_t* row(int y) {
        return pixels_.data() + static_cast<std::ptrdiff_t>(origin_) + static_cast<std::ptrdiff_t>(y) * static_cast<std::ptrdiff_t>(stride_);
    }

    int width_;
    int height_;
    std::size_t stride_;
    std::size_t origin_;  // where pixel 0,0 is, past the margin stamps may cover
    double radius_ = 0.0;
    // Level L is reached where the squared distance is below limits_[L].
    std::array<float, kLevels> limits_{};
    int reach_ = 0;  // of the stamps; 0 when the pen is drawn exactly
    const std::uint8_t* stamps_ = nullptr;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace sigplus
