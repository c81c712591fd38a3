#include "CaptureState.h"
#include "ControlHandlers.h"
#include "functions/ErrorCodes.h"
#include "functions/LastError.h"
#include "functions/ResultTexts.h"
#include "hostapi/HostAdapters.h"
#include "hostapi/ModuleContextGuard.h"

namespace zera {

// Opens the capture dialog and answers the signature. It does not reset the
// last error: after a capture the record still tells an earlier failure (see
// docs/compatibility.md).
ZERA_HANDLER(Do_ZERA_CaptureSignature) {
    ModuleContextGuard guard;
    std::u16string answer;
    if (parameterCount(parameters) != 1) {
        answer = kResultError;
        LastError::raise(kErrInvalidParamCount);
    } else {
        answer = captureState().runCapture(readTextParam(parameters, 0));
    }
    setTextResult(result, answer);
    return 0;
}

}  // namespace zera
