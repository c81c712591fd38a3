#pragma once

#include "winplatform/types.h"

#include <cstdio>

// Opens a C stream by a path in Windows or POSIX notation, with the C
// runtime's modes: "r", "w", "a", optionally "+", and "t" (text, the
// default) or "b" (binary). In text mode every line feed written lands in
// the file as carriage return plus line feed, as on Windows; reading is not
// translated. Returns null when the file cannot be opened.
WINPLATFORM_API FILE* _wfopen(const WCHAR* path, const WCHAR* mode);
