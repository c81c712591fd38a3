#include "Handlers.h"
#include "LastError.h"
#include "hostapi/HostAdapters.h"
#include "hostapi/ModuleContextGuard.h"

#include <platform/ascii_case.h>

#include <string>

namespace zera {

// Reads the record and never changes it. Scripts ask for "text" or any
// other type for the code (see docs/compatibility.md).
ZERA_HANDLER(Do_ZERA_GetLastError) {
    ModuleContextGuard guard;
    std::u16string type;
    if (parameterCount(parameters) >= 1) type = readTextParam(parameters, 0);

    const std::u16string message = LastError::message().value_or(u"");
    const std::u16string detail = LastError::detail().value_or(u"");
    std::u16string answer;
    if (type.empty() || platform::equalsIgnoringAsciiCase(type, u"text")) {
        answer = message;
        if (!detail.empty()) answer += u'\r' + detail;
    } else {
        const std::string digits = std::to_string(LastError::code());
        answer.assign(digits.begin(), digits.end());
    }
    setTextResult(result, answer);
    return 0;
}

}  // namespace zera
