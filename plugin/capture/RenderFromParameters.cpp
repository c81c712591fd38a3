#include "RenderFromParameters.h"

#include "CaptureState.h"
#include "functions/ErrorCodes.h"
#include "functions/LastError.h"
#include "functions/ResultTexts.h"
#include "hostapi/HostAdapters.h"

namespace zera {
namespace {

// The host declares the exact counts; up to four are accepted here and the
// ones past the texts are not read.
constexpr std::uint32_t kMaxParameters = 4;

}  // namespace

std::optional<RenderedSignature> renderFromParameters(const fmx::DataVect* parameters, fmx::Data* result,
                                                      std::uint32_t textCount) {
    const std::uint32_t count = parameterCount(parameters);
    if (count < textCount || count > kMaxParameters) {
        LastError::raise(kErrInvalidParamCount);
        setTextResult(result, kResultError);
        return std::nullopt;
    }
    RenderedSignature rendered;
    for (std::uint32_t position = 0; position < textCount; ++position) {
        rendered.texts.push_back(readTextParam(parameters, position));
    }
    CaptureState& state = captureState();
    RenderedImage& image = rendered.image;
    if (!state.renderSignatureImage(rendered.texts[0], rendered.texts[1], &image.bytes, &image.byteCount)) {
        setTextResult(result, kResultUnsigned);
        return std::nullopt;
    }
    image.width = state.renderWidth;
    image.height = state.renderHeight;
    return rendered;
}

}  // namespace zera
