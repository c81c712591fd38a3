#pragma once

#include "winplatform/types.h"

inline constexpr DWORD GENERIC_READ = 0x80000000u;
inline constexpr DWORD GENERIC_WRITE = 0x40000000u;
inline constexpr DWORD FILE_SHARE_READ = 0x1;
inline constexpr DWORD FILE_SHARE_WRITE = 0x2;
inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

struct SECURITY_ATTRIBUTES;

// Opens a file by a path in Windows or POSIX notation. A path of MAX_PATH
// (260) units or more cannot be opened. Sharing is enforced between the
// openers of this process: a file opened with no sharing cannot be opened
// again until it is closed.
WINPLATFORM_API HANDLE WINAPI CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode,
                                          SECURITY_ATTRIBUTES* security, DWORD creation, DWORD flags,
                                          HANDLE templateFile);
WINPLATFORM_API BOOL WINAPI WriteFile(HANDLE file, LPCVOID bytes, DWORD count, DWORD* written,
                                      void* overlapped);
WINPLATFORM_API BOOL WINAPI ReadFile(HANDLE file, LPVOID bytes, DWORD count, DWORD* read, void* overlapped);
