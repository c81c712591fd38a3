#include "ErrorCodes.h"
#include "FileMakerPath.h"
#include "Handlers.h"
#include "LastError.h"
#include "Low16Bits.h"
#include "ResultTexts.h"
#include "Settings.h"
#include "hostapi/HostAdapters.h"
#include "hostapi/ModuleContextGuard.h"

#include <platform/wide_text.h>
#include <shlwapi.h>

#include <string>

namespace zera {
namespace {

// The frame every setter shares: reset the last error, answer "0" unless
// the setter's own step says otherwise, store the answer.
template <typename Step>
FMErrcode runSetter(const fmx::DataVect* parameters, fmx::Data* result, Step step) {
    ModuleContextGuard guard;
    LastError::reset();
    std::u16string answer = kResultOk;
    step(parameters, answer);
    setTextResult(result, answer);
    return 0;
}

}  // namespace

ZERA_HANDLER(Do_ZERA_SetTabletMode) {
    return runSetter(parameters, result, [](const fmx::DataVect* p, std::u16string&) {
        tabletMode = low16Bits(readIntegerParam(p, 0));
    });
}

ZERA_HANDLER(Do_ZERA_SetTabletComPort) {
    return runSetter(parameters, result, [](const fmx::DataVect* p, std::u16string&) {
        tabletComPort = low16Bits(readIntegerParam(p, 0));
    });
}

ZERA_HANDLER(Do_ZERA_SetImagePenWidth) {
    return runSetter(parameters, result, [](const fmx::DataVect* p, std::u16string&) {
        if (parameterCount(p) >= 1) penWidth = readIntegerParam(p, 0);
    });
}

ZERA_HANDLER(Do_ZERA_SetBannerPath) {
    return runSetter(parameters, result, [](const fmx::DataVect* p, std::u16string& answer) {
        if (parameterCount(p) < 1) {
            bannerPath.reset();
            return;
        }
        const std::u16string path = nativePath(readTextParam(p, 0));
        // Existence only: the file is neither opened nor checked to be a
        // bitmap. An empty path names nothing (see docs/compatibility.md).
        if (!path.empty() && PathFileExistsW(platform::wide(path.c_str()))) {
            bannerPath = path;
            return;
        }
        answer = kResultError;
        LastError::raise(kErrFileAccess);
    });
}

}  // namespace zera
