#include "Handlers.h"
#include "Version.h"
#include "hostapi/HostAdapters.h"
#include "hostapi/ModuleContextGuard.h"

#include <platform/ascii_case.h>

#include <string>

namespace zera {
// Does not touch the last error, so a script can ask for the version between
// a failing function and reading that function's error. "SHORT" is compared
// as a whole text, in any case (see docs/compatibility.md).
ZERA_HANDLER(Do_ZERA_Version) {
    ModuleContextGuard guard;
    const bool given = parameterCount(parameters) >= 1;
    const std::u16string type = given ? readTextParam(parameters, 0) : std::u16string();
    const bool shortForm = given && platform::equalsIgnoringAsciiCase(type, u"SHORT");
    setTextResult(result, shortForm ? kShortVersionText : kVersionText);
    return 0;
}

}  // namespace zera
