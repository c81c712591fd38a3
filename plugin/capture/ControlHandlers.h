// The handlers of the external functions that drive the pad control:
// capture, render and save.
#pragma once

#include "hostapi/ExternalFunction.h"

namespace zera {

ZERA_HANDLER(Do_ZERA_CaptureSignature);
ZERA_HANDLER(Do_ZERA_RenderSigFromString);
ZERA_HANDLER(Do_ZERA_SaveSigToFile);

}  // namespace zera
