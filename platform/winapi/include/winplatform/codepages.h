#pragma once

#include "winplatform/types.h"

// The ANSI code page of this platform is Windows-1252.
#define CP_ACP ((UINT)0)
#define CP_THREAD_ACP ((UINT)3)
#define CP_UTF8 ((UINT)65001)
#define CP_1252 ((UINT)1252)

#define LOCALE_USER_DEFAULT ((LCID)0x0400)
#define LOCALE_SYSTEM_DEFAULT ((LCID)0x0800)

WINPLATFORM_API UINT WINAPI GetACP();

// As on Windows: a source length of -1 means zero-terminated (the terminator
// is converted too); a destination size of 0 asks for the length needed.
WINPLATFORM_API int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                                               LPWSTR destination, int destinationSize);
WINPLATFORM_API int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                                               LPSTR destination, int destinationSize, LPCSTR defaultChar,
                                               BOOL* usedDefaultChar);
