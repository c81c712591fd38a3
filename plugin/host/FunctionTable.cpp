#include "FunctionTable.h"

#include "capture/ControlHandlers.h"
#include "ModuleBoundary.h"
#include "functions/Handlers.h"
#include "resource.h"

namespace zera {

// Stored calculations name the functions by these IDs, and call them with
// these counts (see docs/compatibility.md).
const std::array<FunctionRow, 9> kFunctionTable = {{
    {IDS_PROTO_VERSION, 0, 1, &handlerAtBoundary<&Do_ZERA_Version>},
    {IDS_PROTO_SET_BANNER_PATH, 0, 1, &handlerAtBoundary<&Do_ZERA_SetBannerPath>},
    {IDS_PROTO_CAPTURE_SIGNATURE, 1, 1, &handlerAtBoundary<&Do_ZERA_CaptureSignature>},
    {IDS_PROTO_RENDER_SIG_FROM_STRING, 2, 2, &handlerAtBoundary<&Do_ZERA_RenderSigFromString>},
    {IDS_PROTO_SET_TABLET_MODE, 1, 1, &handlerAtBoundary<&Do_ZERA_SetTabletMode>},
    {IDS_PROTO_SET_IMAGE_PEN_WIDTH, 1, 1, &handlerAtBoundary<&Do_ZERA_SetImagePenWidth>},
    {IDS_PROTO_SET_TABLET_COM_PORT, 1, 1, &handlerAtBoundary<&Do_ZERA_SetTabletComPort>},
    {IDS_PROTO_SAVE_SIG_TO_FILE, 3, 3, &handlerAtBoundary<&Do_ZERA_SaveSigToFile>},
    {IDS_PROTO_GET_LAST_ERROR, 0, 1, &handlerAtBoundary<&Do_ZERA_GetLastError>},
}};

}  // namespace zera
