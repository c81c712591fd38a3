#include "CaptureState.h"
#include "SigPlusLink.h"
#include "SigPlusMembers.h"
#include "functions/ErrorCodes.h"
#include "functions/LastError.h"
#include "functions/Low16Bits.h"
#include "functions/Settings.h"

#include <platform/com_values.h>

#include <new>

namespace zera {
namespace {

// The image every container and file has (see docs/compatibility.md).
inline constexpr std::int16_t kRenderWidth = 215;
inline constexpr std::int16_t kRenderHeight = 70;
inline constexpr std::int16_t kRenderFormatGif = 5;

}  // namespace

bool CaptureState::renderSignatureImage(const std::u16string& signatureText, const std::u16string& boundText,
                                        const std::uint8_t** outBytes, std::uint32_t* outByteCount) {
    *outByteCount = 0;
    SigPlusLink link;
    if (!link.isOpen()) {
        LastError::raise(kErrLibraryLoad);
        return false;
    }
    renderWidth = kRenderWidth;
    renderHeight = kRenderHeight;
    try {
        using namespace sigplus;
        link.call(PadReset);

        // The data is always bound without encryption; the stored modes
        // apply to the signature text itself. This is the capture's order:
        // binding first, then the modes (see docs/compatibility.md).
        link.putI2(PackingMode, low16Bits(compressionMode));
        link.putI2(CipherMode, 0);
        link.call(BindBegin);
        platform::UniqueBstr bound = platform::UniqueBstr::copyOf(boundText);
        if (!bound) throw std::bad_alloc();
        link.call(BindAddText, {DispatchArgument::bstrByRef(bound.byRef())});
        link.call(BindEnd);
        link.putI2(PackingMode, low16Bits(compressionMode));
        link.putI2(CipherMode, low16Bits(encryptionMode));
        link.putText(SignatureText, signatureText);

        if (link.callI2(SignaturePointCount) < 1) return false;

        link.putI2(RenderOption, 0);
        link.putI2(RenderWidth, renderWidth);
        link.putI2(RenderHeight, renderHeight);
        link.putI2(RenderPenWidth, low16Bits(penWidth));
        link.putI2(RenderFormat, kRenderFormatGif);
        link.call(RenderToBuffer);
        const std::int32_t size = link.callI4(RenderBufferSize);
        // A negative size is a broken control, not a request for memory.
        if (size < 0) return false;
        *outByteCount = static_cast<std::uint32_t>(size);

        imageBuffer.clear();
        imageBuffer.shrink_to_fit();
        imageBuffer.resize(static_cast<std::size_t>(size));
        link.callI2ForEachByte(RenderBufferByte, imageBuffer);
        link.call(RenderBufferRelease);
        *outBytes = imageBuffer.data();
        return true;
    } catch (const ComError&) {
        return false;
    } catch (const std::bad_alloc&) {
        // A text or image buffer that could not be made ends the render.
        return false;
    }
}

}  // namespace zera
