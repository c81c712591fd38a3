// What this platform leaves out says so, as wine's FIXME lines do: a
// method that is not implemented writes one line on standard error the
// first time it is called in the process, then answers its error, so that
// a caller's failure is never a silent mystery.
#pragma once

#include <winerror.h>

namespace winplatform {

// Notes "fixme: <method> is not implemented" once per method and process;
// E_NOTIMPL.
HRESULT notImplemented(const char* method);

}  // namespace winplatform
