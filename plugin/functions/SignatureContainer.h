// How a rendered signature image becomes a container value: which parts are
// added, in which order, with which type codes, size and file name (see
// docs/compatibility.md).
#pragma once

#include <FMWrapper/FMWrapper.h>

#include <cstdint>

namespace zera {

struct RenderedImage {
    const std::uint8_t* bytes = nullptr;
    std::uint32_t byteCount = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
};

// The container result: image size, file name "sig.gif", one "GIFf" stream.
void buildContainerResult(fmx::BinaryData* value, fmx::Text* fileName, const fmx::QuadChar* gifType,
                          const RenderedImage& image);

// The value written to a file: image size, then the image bytes as a
// "GIFf" stream and again as a "BMP " stream. It carries no file name.
void buildFileOutput(fmx::BinaryData* value, const fmx::QuadChar* gifType, const fmx::QuadChar* bmpType,
                     const RenderedImage& image);

}  // namespace zera
