// The handlers of the external functions that keep to the plug-in's own
// state: version, settings and the last error.
#pragma once

#include "hostapi/ExternalFunction.h"

namespace zera {

ZERA_HANDLER(Do_ZERA_Version);
ZERA_HANDLER(Do_ZERA_SetBannerPath);
ZERA_HANDLER(Do_ZERA_SetTabletMode);
ZERA_HANDLER(Do_ZERA_SetImagePenWidth);
ZERA_HANDLER(Do_ZERA_SetTabletComPort);
ZERA_HANDLER(Do_ZERA_GetLastError);

}  // namespace zera
