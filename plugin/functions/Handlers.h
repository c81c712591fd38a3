// The handlers of the external functions, with the host's signature.
#pragma once

#include <FMWrapper/FMWrapper.h>

#include <cstdint>

namespace zera {

#define ZERA_HANDLER(name)                                                                        \
    FMErrcode name([[maybe_unused]] std::int16_t functionId, [[maybe_unused]] const fmx::ExprEnv* environment, \
                   [[maybe_unused]] const fmx::DataVect* parameters, [[maybe_unused]] fmx::Data* result)

ZERA_HANDLER(Do_ZERA_Version);
ZERA_HANDLER(Do_ZERA_SetBannerPath);
ZERA_HANDLER(Do_ZERA_CaptureSignature);
ZERA_HANDLER(Do_ZERA_RenderSigFromString);
ZERA_HANDLER(Do_ZERA_SetTabletMode);
ZERA_HANDLER(Do_ZERA_SetImagePenWidth);
ZERA_HANDLER(Do_ZERA_SetTabletComPort);
ZERA_HANDLER(Do_ZERA_SaveSigToFile);
ZERA_HANDLER(Do_ZERA_GetLastError);

}  // namespace zera
