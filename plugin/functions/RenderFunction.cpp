#include "ErrorCodes.h"
#include "Handlers.h"
#include "LastError.h"
#include "ResultTexts.h"
#include "Settings.h"
#include "SignatureContainer.h"
#include "host/HostAdapters.h"
#include "host/HostCall.h"
#include "host/HostHandles.h"
#include "host/ModuleContextGuard.h"

namespace zera {

// Answers a container with the signature's image, or a text saying why
// there is none.
ZERA_HANDLER(Do_ZERA_RenderSigFromString) {
    ModuleContextGuard guard;
    LastError::reset();
    std::u16string answer = kResultOk;
    TextHandle fileName;
    BinaryDataHandle value;
    QuadCharHandle gifType('G', 'I', 'F', 'f');

    // The host allows exactly two; up to four are accepted here and the
    // rest are not read.
    const std::uint32_t count = parameterCount(parameters);
    if (count < 2 || count > 4) {
        answer = kResultError;
        LastError::raise(kErrInvalidParamCount);
        setTextResult(result, answer);
        return 0;
    }
    const std::u16string signatureText = readTextParam(parameters, 0);
    const std::u16string boundText = readTextParam(parameters, 1);

    CaptureState& state = captureState();
    RenderedImage image;
    if (!state.renderSignatureImage(signatureText, boundText, &image.bytes, &image.byteCount)) {
        setTextResult(result, kResultUnsigned);
        return 0;
    }
    image.width = state.renderWidth;
    image.height = state.renderHeight;
    buildContainerResult(value.get(), fileName.get(), gifType.get(), image);
    hostCall([&](HostError& e) { return FM_Data_SetBinaryData(result, value.get(), true, e); });
    return 0;
}

}  // namespace zera
