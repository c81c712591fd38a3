#pragma once

#include "winplatform/types.h"

// The ANSI code page of this platform is Windows-1252.
inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_THREAD_ACP = 3;
inline constexpr UINT CP_UTF8 = 65001;
inline constexpr UINT CP_1252 = 1252;

inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

WINPLATFORM_API UINT WINAPI GetACP();

// As on Windows: a source length of -1 means zero-terminated (the terminator
// is converted too); a destination size of 0 asks for the length needed.
WINPLATFORM_API int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                                               LPWSTR destination, int destinationSize);
WINPLATFORM_API int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                                               LPSTR destination, int destinationSize, LPCSTR defaultChar,
                                               BOOL* usedDefaultChar);
