#include "sigplus/render.h"

#include "canvas.h"
#include "gif_encoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace sigplus {
namespace {

// Grey levels from white (index 0, the background) to black: enough for
// smooth anti-aliased edges in a palette image.
constexpr int kPaletteBits = 3;
static_assert(kLevels == 1 << kPaletteBits);

// The image size the pen width unit is defined at.
constexpr double kReferenceWidth = 215.0;
constexpr double kReferenceHeight = 70.0;
// Pen width units per pixel at the reference size.
constexpr double kUnitsPerPixel = 6.0;
constexpr double kThinnestLine = 0.75;

constexpr std::array<std::uint8_t, 3 * kLevels> greyPalette() {
    std::array<std::uint8_t, 3 * kLevels> palette{};
    for (int i = 0; i < kLevels; ++i) {
        const auto grey = static_cast<std::uint8_t>(255 - (255 * i) / (kLevels - 1));
        for (int c = 0; c < 3; ++c) palette[static_cast<std::size_t>(3 * i + c)] = grey;
    }
    return palette;
}

constexpr std::array<std::uint8_t, 3 * kLevels> kPalette = greyPalette();

struct Bounds {
    double minX, minY, maxX, maxY;
};

Bounds boundsOf(const Ink& ink, const RenderSettings& settings) {
    if (settings.option != 0 && settings.spanX > 0 && settings.spanY > 0) {
        return {0.0, 0.0, static_cast<double>(settings.spanX), static_cast<double>(settings.spanY)};
    }
    Bounds b{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
             std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    for (const Stroke& stroke : ink) {
        for (const Point& p : stroke) {
            b.minX = std::min(b.minX, static_cast<double>(p.x));
            b.minY = std::min(b.minY, static_cast<double>(p.y));
            b.maxX = std::max(b.maxX, static_cast<double>(p.x));
            b.maxY = std::max(b.maxY, static_cast<double>(p.y));
        }
    }
    return b;
}

}  // namespace

std::vector<std::uint8_t> renderGif(const Ink& ink, const RenderSettings& settings) {
    const int width = std::clamp(settings.width, 1, kMaxRenderSide);
    const int height = std::clamp(settings.height, 1, kMaxRenderSide);
    Canvas canvas(width, height);

    if (pointCount(ink) > 0) {
        const double unit = std::min(width / kReferenceWidth, height / kReferenceHeight);
        const double widest = std::max(kThinnestLine, std::min(width, height) / 4.0);
        const double diameter =
            std::clamp(std::max(settings.penWidth, 1) * unit / kUnitsPerPixel, kThinnestLine, widest);
        const double radius = diameter / 2.0;

        const Bounds b = boundsOf(ink, settings);
        const double margin = radius + 0.04 * std::min(width, height) + 1.0;
        const double roomX = std::max(1.0, width - 2.0 * margin);
        const double roomY = std::max(1.0, height - 2.0 * margin);
        const double scale = std::min(roomX / std::max(1.0, b.maxX - b.minX), roomY / std::max(1.0, b.maxY - b.minY));
        const double centreX = (b.minX + b.maxX) / 2.0;
        const double centreY = (b.minY + b.maxY) / 2.0;
        auto toX = [&](const Point& p) { return width / 2.0 + (p.x - centreX) * scale; };
        auto toY = [&](const Point& p) { return height / 2.0 + (p.y - centreY) * scale; };

        canvas.setRadius(radius);
        for (const Stroke& stroke : ink) {
            if (stroke.size() == 1) canvas.line(toX(stroke[0]), toY(stroke[0]), toX(stroke[0]), toY(stroke[0]));
            for (std::size_t i = 1; i < stroke.size(); ++i) {
                canvas.line(toX(stroke[i - 1]), toY(stroke[i - 1]), toX(stroke[i]), toY(stroke[i]), i > 1);
            }
        }
    }
    GifPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels = canvas.pixels();
    picture.stride = canvas.stride();
    picture.palette = kPalette;
    picture.paletteBits = kPaletteBits;
    return encodeGif(picture);
}

}  // namespace sigplus
