#include "SignatureContainer.h"

#include "hostapi/HostCall.h"

namespace zera {
namespace {

void addSize(fmx::BinaryData* value, const RenderedImage& image) {
    hostCall([&](HostError& e) { return FM_BinaryData_AddSIZEData(value, image.width, image.height, e); });
}

// The host keeps its own copy of the bytes, so the image buffer may change
// with the next render without touching this value.
void addStream(fmx::BinaryData* value, const fmx::QuadChar* type, const RenderedImage& image) {
    hostCall([&](HostError& e) { return FM_BinaryData_Add(value, type, image.byteCount, image.bytes, e); });
}

}  // namespace

void buildContainerResult(fmx::BinaryData* value, fmx::Text* fileName, const fmx::QuadChar* gifType,
                          const RenderedImage& image) {
    addSize(value, image);
    // The name exports give the image (see docs/compatibility.md).
    hostCall([&](HostError& e) { FM_Text_Assign(fileName, "sig.gif", kEncodingNative, e); });
    hostCall([&](HostError& e) { return FM_BinaryData_AddFNAMData(value, fileName, e); });
    addStream(value, gifType, image);
}

void buildFileOutput(fmx::BinaryData* value, const fmx::QuadChar* gifType, const fmx::QuadChar* bmpType,
                     const RenderedImage& image) {
    addSize(value, image);
    addStream(value, gifType, image);
    addStream(value, bmpType, image);
}

}  // namespace zera
