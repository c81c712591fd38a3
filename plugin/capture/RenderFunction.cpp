#include "ControlHandlers.h"
#include "RenderFromParameters.h"
#include "functions/LastError.h"
#include "functions/SignatureContainer.h"
#include "hostapi/HostCall.h"
#include "hostapi/HostHandles.h"
#include "hostapi/ModuleContextGuard.h"

namespace zera {

// Answers a container with the signature's image, or a text saying why
// there is none.
ZERA_HANDLER(Do_ZERA_RenderSigFromString) {
    ModuleContextGuard guard;
    LastError::reset();
    TextHandle fileName;
    BinaryDataHandle value;
    QuadCharHandle gifType('G', 'I', 'F', 'f');  // the host's type of GIF streams (see docs/compatibility.md)

    const auto rendered = renderFromParameters(parameters, result, 2);
    if (!rendered) return 0;
    buildContainerResult(value.get(), fileName.get(), gifType.get(), rendered->image);
    hostCall([&](HostError& e) { return FM_Data_SetBinaryData(result, value.get(), true, e); });
    return 0;
}

}  // namespace zera
