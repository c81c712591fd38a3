// The steps the render and save functions share: check the parameter count,
// read the texts, render the signature.
#pragma once

#include "functions/SignatureContainer.h"

#include <FMWrapper/FMWrapper.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zera {

struct RenderedSignature {
    std::vector<std::u16string> texts;  // signature text, bound data, then any further text read
    RenderedImage image;
};

// Takes `textCount` to 4 parameters and reads the first `textCount` as
// texts, signature text and bound data first. When there is no image it
// stores the function's text answer itself ("!!ERROR!!" with -3 for a wrong
// count, "UNSIGNED" for a render that gave none) and returns nothing.
std::optional<RenderedSignature> renderFromParameters(const fmx::DataVect* parameters, fmx::Data* result,
                                                      std::uint32_t textCount);

}  // namespace zera
