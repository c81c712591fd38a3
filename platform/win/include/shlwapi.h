#pragma once

#include "winplatform/types.h"

// Whether a file or folder exists at the path (Windows or POSIX notation).
// Only existence is tested; an empty path does not exist.
WINPLATFORM_API BOOL WINAPI PathFileExistsW(LPCWSTR path);
WINPLATFORM_API BOOL WINAPI PathFileExistsA(LPCSTR path);
