#pragma once

#include "winplatform/types.h"

#define GENERIC_READ ((DWORD)0x80000000u)
#define GENERIC_WRITE ((DWORD)0x40000000u)
#define FILE_SHARE_READ ((DWORD)0x1)
#define FILE_SHARE_WRITE ((DWORD)0x2)
#define CREATE_NEW ((DWORD)1)
#define CREATE_ALWAYS ((DWORD)2)
#define OPEN_EXISTING ((DWORD)3)
#define OPEN_ALWAYS ((DWORD)4)
#define TRUNCATE_EXISTING ((DWORD)5)
#define FILE_ATTRIBUTE_NORMAL ((DWORD)0x80)

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
