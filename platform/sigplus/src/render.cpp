#include "sigplus/render.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace sigplus {
namespace {

// Grey levels from white (index 0, the background) to black: enough for
// smooth anti-aliased edges in a palette image.
constexpr int kLevels = 8;
constexpr int kPaletteBits = 3;

// The image size the pen width unit is defined at.
constexpr double kReferenceWidth = 215.0;
constexpr double kReferenceHeight = 70.0;
// Pen width units per pixel at the reference size.
constexpr double kUnitsPerPixel = 6.0;
constexpr double kThinnestLine = 0.75;

class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), coverage_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

    // A round-capped line of the given radius; coverage by distance from
    // its axis, a half-pixel ramp at the edge.
    void capsule(double ax, double ay, double bx, double by, double radius) {
        const double dx = bx - ax;
        const double dy = by - ay;
        const double length = std::hypot(dx, dy);
        // Long lines go in pieces so that each piece's box stays near the
        // line: the work grows with length times width, not length squared.
        const double pieceLength = 4.0 * radius + 4.0;
        const int pieces = std::max(1, static_cast<int>(std::ceil(length / pieceLength)));
        for (int k = 0; k < pieces; ++k) {
            const double t0 = static_cast<double>(k) / pieces;
            const double t1 = static_cast<double>(k + 1) / pieces;
            piece(ax + dx * t0, ay + dy * t0, ax + dx * t1, ay + dy * t1, radius);
        }
    }

    // Palette indices, one byte per pixel.
    std::vector<GifByteType> indices() const {
        std::vector<GifByteType> out(coverage_.size());
        for (std::size_t i = 0; i < coverage_.size(); ++i) {
            out[i] = static_cast<GifByteType>(std::lround(coverage_[i] * (kLevels - 1)));
        }
        return out;
    }

private:
    void piece(double ax, double ay, double bx, double by, double radius) {
        const double reach = radius + 1.0;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min(ax, bx) - reach)));
        const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max(ax, bx) + reach)));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min(ay, by) - reach)));
        const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max(ay, by) + reach)));
        const double dx = bx - ax;
        const double dy = by - ay;
        const double lengthSquared = dx * dx + dy * dy;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5 - ax;
                const double py = y + 0.5 - ay;
                double t = lengthSquared > 0.0 ? (px * dx + py * dy) / lengthSquared : 0.0;
                t = std::clamp(t, 0.0, 1.0);
                const double distance = std::hypot(px - t * dx, py - t * dy);
                const double cover = std::min(1.0, radius + 0.5 - distance);
                if (cover <= 0.0) continue;
                float& cell = coverage_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                        static_cast<std::size_t>(x)];
                cell = std::max(cell, static_cast<float>(cover));
            }
        }
    }

    int width_;
    int height_;
    std::vector<float> coverage_;
};

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

int appendBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

std::vector<std::uint8_t> encodeGif(int width, int height, std::vector<GifByteType>& pixels) {
    GifColorType colours[kLevels];
    for (int i = 0; i < kLevels; ++i) {
        const auto grey = static_cast<GifByteType>(255 - (255 * i) / (kLevels - 1));
        colours[i] = GifColorType{grey, grey, grey};
    }
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    if (gif == nullptr) throw std::runtime_error(GifErrorString(error));
    ColorMapObject* palette = GifMakeMapObject(1 << kPaletteBits, colours);
    bool ok = palette != nullptr && EGifPutScreenDesc(gif, width, height, kPaletteBits, 0, palette) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y) {
        ok = EGifPutLine(gif, pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width), width) ==
             GIF_OK;
    }
    if (!ok) error = gif->Error;
    if (EGifCloseFile(gif, ok ? &error : nullptr) != GIF_OK) ok = false;
    GifFreeMapObject(palette);
    if (!ok) throw std::runtime_error(GifErrorString(error));
    return out;
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

        for (const Stroke& stroke : ink) {
            if (stroke.size() == 1) {
                canvas.capsule(toX(stroke[0]), toY(stroke[0]), toX(stroke[0]), toY(stroke[0]), radius);
            }
            for (std::size_t i = 1; i < stroke.size(); ++i) {
                canvas.capsule(toX(stroke[i - 1]), toY(stroke[i - 1]), toX(stroke[i]), toY(stroke[i]), radius);
            }
        }
    }
    auto pixels = canvas.indices();
    return encodeGif(width, height, pixels);
}

}  // namespace sigplus
