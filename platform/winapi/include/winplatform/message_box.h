#pragma once

#include "winplatform/types.h"

#define MB_OK ((UINT)0x00000000)
#define MB_ICONEXCLAMATION ((UINT)0x00000030)
#define IDOK ((int)1)
#define IDCANCEL ((int)2)

// Without a screen a message box is written to standard error as
// "message box: <caption>: <text>" and kept for tests; it answers OK.
WINPLATFORM_API int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
