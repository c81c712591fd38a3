#include "winplatform/errors.h"

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

WINPLATFORM_API DWORD WINAPI GetLastError() { return lastError; }
WINPLATFORM_API void WINAPI SetLastError(DWORD code) { lastError = code; }
