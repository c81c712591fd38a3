#pragma once

#include "winplatform/types.h"

// Whether a file or folder exists at the path (Windows or POSIX notation).
// Only existence is tested; an empty path does not exist.
WINPLATFORM_API BOOL WINAPI PathFileExistsW(LPCWSTR path);
WINPLATFORM_API BOOL WINAPI PathFileExistsA(LPCSTR path);

struct IStream;
// A stream over a copy of `size` bytes (none when `initial` is null): read,
// write, seek and stat. The caller holds the one reference.
WINPLATFORM_API IStream* WINAPI SHCreateMemStream(const BYTE* initial, UINT size);
