#include "Handlers.h"
#include "ResultTexts.h"
#include "host/HostAdapters.h"
#include "host/ModuleContextGuard.h"

namespace zera {
namespace {

FMErrcode answerNotAvailable(fmx::Data* result) {
    ModuleContextGuard guard;
    setTextResult(result, kResultError);
    return 0;
}

}  // namespace

// Needs the capture dialog hosting the signature pad control.
ZERA_HANDLER(Do_ZERA_CaptureSignature) {
    return answerNotAvailable(result);
}

}  // namespace zera
