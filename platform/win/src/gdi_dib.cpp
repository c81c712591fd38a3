#include "gdi_dib.h"

#include "winplatform/gdi.h"

#include <cstddef>

namespace winplatform {
namespace {

std::uint32_t read16(std::span<const BYTE> data, std::size_t offset) {
    return static_cast<std::uint32_t>(data[offset]) | static_cast<std::uint32_t>(data[offset + 1]) << 8;
}

std::uint32_t read32(std::span<const BYTE> data, std::size_t offset) {
    return read16(data, offset) | read16(data, offset + 2) << 16;
}

// BITMAPINFOHEADER and the V2, V3, V4 and V5 headers; with BI_RGB the
// fields the longer ones add do not change how the pixels read.
bool knownHeaderSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// A bound on the pixels of one bitmap, so that a bad resource cannot ask
// for an unbounded allocation; far above any screen image.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;

std::uint32_t fromQuad(std::span<const BYTE> data, std::size_t offset) {
    // RGBQUAD: blue, green, red, reserved.
    return static_cast<std::uint32_t>(data[offset + 2]) << 16 | static_cast<std::uint32_t>(data[offset + 1]) << 8 |
           static_cast<std::uint32_t>(data[offset]);
}

std::uint32_t widen5(std::uint32_t value) { return (value * 255 + 15) / 31; }

}  // namespace

std::optional<DibImage> parseDib(std::span<const BYTE> data) {
    if (data.size() < 40) return std::nullopt;
    const std::uint32_t headerSize = read32(data, 0);
    if (!knownHeaderSize(headerSize) || headerSize > data.size()) return std::nullopt;
    const auto width = static_cast<std::int32_t>(read32(data, 4));
    const auto height = static_cast<std::int32_t>(read32(data, 8));
    const std::uint32_t planes = read16(data, 12);
    const std::uint32_t bitsPerPixel = read16(data, 14);
    const std::uint32_t compression = read32(data, 16);
    const std::uint32_t coloursUsed = read32(data, 32);

    if (width <= 0 || height == 0 || height == INT32_MIN || planes != 1 || compression != BI_RGB) return std::nullopt;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
        bitsPerPixel != 32) {
        return std::nullopt;
    }
    const bool bottomUp = height > 0;
    const auto rows = static_cast<std::uint64_t>(bottomUp ? height : -height);
    const auto columns = static_cast<std::uint64_t>(width);
    if (columns * rows > kMaxPixels) return std::nullopt;

    // Indexed images have a palette of 2^bits entries unless fewer are
    // named; the others may carry an optional colour table, which is skipped.
    std::uint64_t paletteEntries = coloursUsed;
    if (bitsPerPixel <= 8) {
        const std::uint64_t full = std::uint64_t{1} << bitsPerPixel;
        if (paletteEntries == 0) paletteEntries = full;
        if (paletteEntries > full) return std::nullopt;
    }
    const std::uint64_t bitsOffset = headerSize + 4 * paletteEntries;
    const std::uint64_t stride = (columns * bitsPerPixel + 31) / 32 * 4;
    if (bitsOffset + stride * rows > data.size()) return std::nullopt;

    std::vector<std::uint32_t> palette;
    if (bitsPerPixel <= 8) {
        palette.reserve(static_cast<std::size_t>(paletteEntries));
        for (std::uint64_t i = 0; i < paletteEntries; ++i) {
            palette.push_back(fromQuad(data, static_cast<std::size_t>(headerSize + 4 * i)));
        }
    }

    DibImage image;
    image.width = width;
    image.height = static_cast<int>(rows);
    image.bitsPerPixel = static_cast<int>(bitsPerPixel);
    image.pixels.reserve(static_cast<std::size_t>(columns * rows));
    for (std::uint64_t row = 0; row < rows; ++row) {
        const std::uint64_t sourceRow = bottomUp ? rows - 1 - row : row;
        const auto rowStart = static_cast<std::size_t>(bitsOffset + sourceRow * stride);
        for (std::uint64_t column = 0; column < columns; ++column) {
            std::uint32_t colour = 0;
            if (bitsPerPixel <= 8) {
                const std::uint64_t bit = column * bitsPerPixel;
                const std::uint32_t byte = data[rowStart + static_cast<std::size_t>(bit / 8)];
                // The leftmost pixel is in the byte's high bits.
                const auto shift = static_cast<std::uint32_t>(8 - bitsPerPixel - bit % 8);
                const std::uint32_t index = (byte >> shift) & ((1u << bitsPerPixel) - 1);
                colour = index < palette.size() ? palette[index] : 0;
            } else if (bitsPerPixel == 16) {
                // Five bits each of red, green and blue.
                const std::uint32_t value = read16(data, rowStart + static_cast<std::size_t>(column * 2));
                colour = widen5((value >> 10) & 31) << 16 | widen5((value >> 5) & 31) << 8 | widen5(value & 31);
            } else {
                colour = fromQuad(data, rowStart + static_cast<std::size_t>(column * bitsPerPixel / 8));
            }
            image.pixels.push_back(colour);
        }
    }
    return image;
}

}  // namespace winplatform
