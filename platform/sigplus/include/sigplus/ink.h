// Ink: what the pen wrote, as strokes of points in the pad's coordinates.
#pragma once

#include "sigplus/api.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sigplus {

struct Point {
    std::int16_t x = 0;
    std::int16_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// One pen-down to pen-up; never empty.
using Stroke = std::vector<Point>;
using Ink = std::vector<Stroke>;

// The control reports point counts as 16-bit values, so no ink holds more
// (see docs/compatibility.md).
inline constexpr std::size_t kMaxInkPoints = 32767;

SIGPLUS_API std::size_t pointCount(const Ink& ink);

}  // namespace sigplus
