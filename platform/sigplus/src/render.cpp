#include "sigplus/render.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
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

// Palette indices, one byte per pixel, drawn directly: a pixel's index is
// its coverage rounded to a level, and the rounding is done on squared
// distances, so no pixel needs a square root.
class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

    void setRadius(double radius) {
        radius_ = radius;
        // Coverage is min(1, radius + 0.5 - distance); level L (of
        // kLevels - 1) is reached where the coverage is at least
        // (L - 0.5) / (kLevels - 1), i.e. inside limits_[L].
        for (int level = 1; level < kLevels; ++level) {
            const double reach = radius + 0.5 - (level - 0.5) / (kLevels - 1);
            limits_[static_cast<std::size_t>(level)] = reach > 0.0 ? static_cast<float>(reach * reach) : -1.0f;
        }
    }

    // A round-capped line of the canvas's radius.
    void capsule(double ax, double ay, double bx, double by) {
        const double dx = bx - ax;
        const double dy = by - ay;
        // Long lines go in pieces so that each piece's box stays near the
        // line: the work grows with length times width, not length squared.
        const double pieceLength = 4.0 * radius_ + 4.0;
        const int pieces = std::max(1, static_cast<int>(std::ceil(std::sqrt(dx * dx + dy * dy) / pieceLength)));
        for (int k = 0; k < pieces; ++k) {
            const double t0 = static_cast<double>(k) / pieces;
            const double t1 = static_cast<double>(k + 1) / pieces;
            piece(ax + dx * t0, ay + dy * t0, ax + dx * t1, ay + dy * t1);
        }
    }

    std::vector<GifByteType>& indices() { return pixels_; }

private:
    void piece(double ax, double ay, double bx, double by) {
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
            GifByteType* row = pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f - fax;
                const float t = std::clamp((px * dx + py * dy) * inverse, 0.0f, 1.0f);
                const float ex = px - t * dx;
                const float ey = py - t * dy;
                const float d2 = ex * ex + ey * ey;
                if (!(d2 < outer)) continue;
                int level = 1;
                while (level + 1 < kLevels && d2 < limits_[static_cast<std::size_t>(level + 1)]) ++level;
                GifByteType& cell = row[x];
                if (cell < level) cell = static_cast<GifByteType>(level);
            }
        }
    }

    int width_;
    int height_;
    double radius_ = 0.0;
    std::array<float, kLevels> limits_{};
    std::vector<GifByteType> pixels_;
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
    // The whole raster in one line call: giflib takes any run of pixels.
    ok = ok && EGifPutLine(gif, pixels.data(), width * height) == GIF_OK;
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

        canvas.setRadius(radius);
        for (const Stroke& stroke : ink) {
            if (stroke.size() == 1) canvas.capsule(toX(stroke[0]), toY(stroke[0]), toX(stroke[0]), toY(stroke[0]));
            for (std::size_t i = 1; i < stroke.size(); ++i) {
                canvas.capsule(toX(stroke[i - 1]), toY(stroke[i - 1]), toX(stroke[i]), toY(stroke[i]));
            }
        }
    }
    return encodeGif(width, height, canvas.indices());
}

}  // namespace sigplus
