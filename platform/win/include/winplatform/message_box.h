#pragma once

#include "winplatform/types.h"

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Without a screen a message box is written to standard error as
// "message box: <caption>: <text>" and kept for tests; it answers OK.
WINPLATFORM_API int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
