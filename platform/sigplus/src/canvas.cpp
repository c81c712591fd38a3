#include "canvas.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sigplus {
namespace {

constexpr int kPhaseBits = 5;
constexpr int kPhases = 1 << kPhaseBits;  // sub-pixel positions per pixel, each way
// Pixels between stamps along a line. A pixel beside the line is then at
// most 0.04 pixels further from the nearest stamp than from the line (the
// footprints make up for the average of that, below), for a pen of 1.5
// pixels and more; thinner pens take closer steps.
constexpr double kStampStep = 0.5;
constexpr double kThinStampStep = 0.125;

double stepFor(double radius) { return radius < 0.75 ? kThinStampStep : kStampStep; }
constexpr int kMargin = Canvas::kStampSize;

// The footprints of one radius: for each sub-pixel position, 2 * reach + 1
// rows of kStampSize levels, the first row and column `reach` pixels up and
// left of the pen's pixel. Made once per thread and radius.
struct Stamps {
    float radius = -1.0f;
    int reach = 0;
    std::vector<std::uint8_t> levels;
};

int levelAt(float d2, const std::array<float, kLevels>& limits) {
    int level = 0;
    while (level + 1 < kLevels && d2 < limits[static_cast<std::size_t>(level + 1)]) ++level;
    return level;
}

const Stamps& stampsFor(float radius, int reach, const std::array<float, kLevels>& limits) {
    thread_local Stamps stamps;
    if (stamps.radius == radius) return stamps;
    const int rows = 2 * reach + 1;
    // Beside a line, the nearest stamp is up to half a step along from the
    // nearest point of the line: on average its squared distance is step²/12
    // more. Footprints take that off, so that a line is as dark as drawn
    // exactly, not lighter.
    const auto step = static_cast<float>(stepFor(radius));
    const float spacing = radius < 0.75f ? 0.0f : step * step / 12.0f;
    stamps.levels.assign(static_cast<std::size_t>(kPhases * kPhases * rows * Canvas::kStampSize), 0);
    for (int py = 0; py < kPhases; ++py) {
        for (int px = 0; px < kPhases; ++px) {
            std::uint8_t* out = stamps.levels.data() + static_cast<std::size_t>((py * kPhases + px) * rows * Canvas::kStampSize);
            // The pen's centre inside its pixel, and each covered pixel's
            // centre relative to the pen's pixel.
            const float cx = (static_cast<float>(px) + 0.5f) / kPhases;
            const float cy = (static_cast<float>(py) + 0.5f) / kPhases;
            for (int r = 0; r < rows; ++r) {
                const float dy = static_cast<float>(r - reach) + 0.5f - cy;
                for (int c = 0; c < rows; ++c) {
                    const float dx = static_cast<float>(c - reach) + 0.5f - cx;
                    out[r * Canvas::kStampSize + c] =
                        static_cast<std::uint8_t>(levelAt(dx * dx + dy * dy - spacing, limits));
                }
            }
        }
    }
    stamps.radius = radius;
    stamps.reach = reach;
    return stamps;
}

// Cuts the line a + t (b - a), 0 <= t <= 1, to the box; false when it
// misses it.
bool clipToBox(double& ax, double& ay, double& bx, double& by, double left, double top, double right, double bottom) {
    const double dx = bx - ax;
    const double dy = by - ay;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - left, right - ax, ay - top, bottom - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    bx = ax + dx * t1;
    by = ay + dy * t1;
    ax += dx * t0;
    ay += dy * t0;
    return true;
}

// The stamps of one line: positions in 1/65536 of a sub-pixel step, kept
// positive by kBias so that a shift floors them.
constexpr std::int64_t kBias = std::int64_t{1} << 32;

struct Stamping {
    std::uint8_t* corner;  // the top-left cell of a footprint at the pen's pixel 0, 0
    std::ptrdiff_t stride;
    const std::uint8_t* footprints;
    std::int64_t x, y, stepX, stepY;
    int count;
};

template <int Rows>
void stampAlong(const Stamping& s) {
    std::int64_t x = s.x;
    std::int64_t y = s.y;
    for (int k = 0; k < s.count; ++k, x += s.stepX, y += s.stepY) {
        const auto subX = static_cast<int>((x - kBias) >> 16);
        const auto subY = static_cast<int>((y - kBias) >> 16);
        // The pen's pixel (an arithmetic shift floors) and its place in it.
        const int px = subX >> kPhaseBits;
        const int py = subY >> kPhaseBits;
        const auto position = static_cast<std::size_t>((subY & (kPhases - 1)) * kPhases + (subX & (kPhases - 1)));
        const std::uint8_t* levels = s.footprints + position * Rows * Canvas::kStampSize;
        std::uint8_t* cells = s.corner + py * s.stride + px;
#pragma GCC unroll 16
        for (int r = 0; r < Rows; ++r) {
            std::uint8_t* at = cells + r * s.stride;
            const std::uint8_t* over = levels + r * Canvas::kStampSize;
#if defined(__SSE2__)
            // A footprint's row is one 16-byte register: the darker of each pair.
            static_assert(Canvas::kStampSize == 16);
            const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            const __m128i stamp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(over));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_max_epu8(under, stamp));
#else
            for (int c = 0; c < Canvas::kStampSize; ++c) at[c] = std::max(at[c], over[c]);
#endif
        }
    }
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      stride_(static_cast<std::size_t>(width) + 2 * kMargin),
      origin_(stride_ * kMargin + kMargin),
      // One row more: the last stamp row may run a byte past its margin.
      pixels_(stride_ * (static_cast<std::size_t>(height) + 2 * kMargin + 1)) {}

void Canvas::setRadius(double radius) {
    radius_ = radius;
    // Level L (of kLevels - 1) is reached where the coverage is at least
    // (L - 0.5) / (kLevels - 1).
    for (int level = 1; level < kLevels; ++level) {
        const double reach = radius + 0.5 - (level - 0.5) / (kLevels - 1);
        limits_[static_cast<std::size_t>(level)] = reach > 0.0 ? static_cast<float>(reach * reach) : -1.0f;
    }
    const double outer = std::sqrt(std::max(0.0f, limits_[1]));
    const int reach = static_cast<int>(std::ceil(outer + 0.5));
    reach_ = 2 * reach + 1 <= kStampSize && reach <= kMaxStampReach ? reach : 0;
    stamps_ = nullptr;
    if (reach_ > 0) {
        const Stamps& stamps = stampsFor(static_cast<float>(radius), reach_, limits_);
        stamps_ = stamps.levels.data();
    }
}

void Canvas::line(double ax, double ay, double bx, double by, bool joined) {
    if (reach_ > 0) stampLine(ax, ay, bx, by, joined);
    else exactLine(ax, ay, bx, by);
}

void Canvas::stampLine(double ax, double ay, double bx, double by, bool joined) {
    // Inside this box every stamp lies within the canvas's margins, so no
    // stamp needs a check of its own.
    const double pad = reach_ + 1.0;
    const double startX = ax;
    const double startY = ay;
    const double right = width_ + pad;
    const double bottom = height_ + pad;
    // Nearly every line lies inside the box: only the others are cut.
    const bool inside = ax >= -pad && ax <= right && bx >= -pad && bx <= right && ay >= -pad && ay <= bottom &&
                        by >= -pad && by <= bottom;
    if (!inside && !clipToBox(ax, ay, bx, by, -pad, -pad, right, bottom)) return;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length = std::sqrt(dx * dx + dy * dy);
    const int steps = static_cast<int>(length / stepFor(radius_)) + 1;
    // Positions in 1/65536 of a sub-pixel step, kept positive so that a
    // shift floors them.
    constexpr double kFraction = 65536.0;
    std::int64_t x = static_cast<std::int64_t>(ax * kPhases * kFraction) + kBias;
    std::int64_t y = static_cast<std::int64_t>(ay * kPhases * kFraction) + kBias;
    const auto stepX = static_cast<std::int64_t>(dx * kPhases * kFraction / steps);
    const auto stepY = static_cast<std::int64_t>(dy * kPhases * kFraction / steps);
    // A line that goes on from the last one has its first stamp already.
    const int first = joined && ax == startX && ay == startY ? 1 : 0;
    x += stepX * first;
    y += stepY * first;
    // The top-left cell of a footprint at the pen's pixel 0, 0.
    std::uint8_t* corner = row(-reach_) - reach_;
    const Stamping along{corner, static_cast<std::ptrdiff_t>(stride_), stamps_, x, y, stepX, stepY, steps - first + 1};
    // The footprint's height as a constant: its rows merged without a loop.
    switch (reach_) {
    case 1: stampAlong<3>(along); break;
    case 2: stampAlong<5>(along); break;
    case 3: stampAlong<7>(along); break;
    case 4: stampAlong<9>(along); break;
    case 5: stampAlong<11>(along); break;
    case 6: stampAlong<13>(along); break;
    default: stampAlong<15>(along); break;
    }
}

// Wide pens: long lines go in pieces so that each piece's box stays near the
// line: the work grows with length times width, not length squared.
void Canvas::exactLine(double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double pieceLength = 4.0 * radius_ + 4.0;
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::sqrt(dx * dx + dy * dy) / pieceLength)));
    for (int k = 0; k < pieces; ++k) {
        const double t0 = static_cast<double>(k) / pieces;
        const double t1 = static_cast<double>(k + 1) / pieces;
        exactPiece(ax + dx * t0, ay + dy * t0, ax + dx * t1, ay + dy * t1);
    }
}

void Canvas::exactPiece(double ax, double ay, double bx, double by) {
    const double reach = radius_ + 1.0;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min(ax, bx) - reach)));
    const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max(ax, bx) + reach)));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min(ay, by) - reach)));
    const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max(ay, by) + reach)));
    if (x0 > x1 || y0 > y1) return;
    const auto fax = static_cast<float>(ax);
    const auto fay = static_cast<float>(ay);
    const auto dx = static_cast<float>(bx - ax);
    const auto dy = static_cast<float>(by - ay);
    const float lengthSquared = dx * dx + dy * dy;
    const float inverse = lengthSquared > 0.0f ? 1.0f / lengthSquared : 0.0f;
    const float outer = limits_[1];
    for (int y = y0; y <= y1; ++y) {
        const float py = static_cast<float>(y) + 0.5f - fay;
        std::uint8_t* cells = row(y);
        for (int x = x0; x <= x1; ++x) {
            const float px = static_cast<float>(x) + 0.5f - fax;
            const float t = std::clamp((px * dx + py * dy) * inverse, 0.0f, 1.0f);
            const float ex = px - t * dx;
            const float ey = py - t * dy;
            const float d2 = ex * ex + ey * ey;
            if (!(d2 < outer)) continue;
            const auto level = static_cast<std::uint8_t>(levelAt(d2, limits_));
            if (cells[x] < level) cells[x] = level;
        }
    }
}

}  // namespace sigplus
