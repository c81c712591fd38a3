// The DLL's own module handle, for its window class and its registration.
#pragma once

#include <windows.h>

namespace sigplus::win32 {

HINSTANCE moduleInstance();

}  // namespace sigplus::win32
