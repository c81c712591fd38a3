#include "winplatform/errors.h"

#include "process_state.h"

namespace {
struct LastError {
    DWORD code = ERROR_SUCCESS;
};
DWORD& lastError() {
    thread_local LastError* mine = &winplatform::detail::threadShared<LastError>("errors.last_error");
    return mine->code;
}
}  // namespace

WINPLATFORM_API DWORD WINAPI GetLastError() { return lastError(); }
WINPLATFORM_API void WINAPI SetLastError(DWORD code) { lastError() = code; }
