#pragma once

#include "winplatform/types.h"

// Blocks the calling thread for the given number of milliseconds; INFINITE
// blocks for ever.
#define INFINITE ((DWORD)0xFFFFFFFFu)
WINPLATFORM_API void WINAPI Sleep(DWORD milliseconds);

// The version of Windows this platform plays. It is 6.1 build 7601
// (Windows 7, Service Pack 1) unless the environment variable WIN_VERSION
// gives another as "major.minor" or "major.minor.build"; a malformed value
// is ignored. A 4.x version with a non-zero minor (Windows 98, Me) is
// reported as the Windows 9x platform, every other version as NT.
#define VER_PLATFORM_WIN32s ((DWORD)0)
#define VER_PLATFORM_WIN32_WINDOWS ((DWORD)1)
#define VER_PLATFORM_WIN32_NT ((DWORD)2)

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
using POSVERSIONINFOA = OSVERSIONINFOA*;
using LPOSVERSIONINFOA = OSVERSIONINFOA*;

struct OSVERSIONINFOEXA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
    WORD wServicePackMajor;
    WORD wServicePackMinor;
    WORD wSuiteMask;
    BYTE wProductType;
    BYTE wReserved;
};

// Fills the record whose dwOSVersionInfoSize names its size (either record
// above); any other size fails with ERROR_INSUFFICIENT_BUFFER.
WINPLATFORM_API BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info);

// The process's current directory in Windows notation (see drive_map.h),
// in the ANSI code page. Returns its length without the terminator; when it
// does not fit in bufferLength characters, returns the size needed
// (terminator included) and leaves the buffer untouched.
WINPLATFORM_API DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);

// Show commands for starting programs. A console program on this platform
// has no window to show, so they are accepted and have no effect.
#define SW_HIDE ((INT)0)
#define SW_SHOWNORMAL ((INT)1)
#define SW_NORMAL ((INT)1)
#define SW_SHOWMINIMIZED ((INT)2)
#define SW_SHOWMAXIMIZED ((INT)3)
#define SW_SHOW ((INT)5)

// The virtual-key codes of the keys a dialog answers by itself.
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B

// Process access rights.
#define PROCESS_VM_READ ((DWORD)0x0010)
#define PROCESS_QUERY_INFORMATION ((DWORD)0x0400)
#define PROCESS_QUERY_LIMITED_INFORMATION ((DWORD)0x1000)

// A process ID is the Linux PID.
WINPLATFORM_API DWORD WINAPI GetCurrentProcessId();

// Opens a process by ID; with PROCESS_VM_READ its main executable is read
// at once and kept with the handle (see psapi.h). Fails with
// ERROR_INVALID_PARAMETER for an ID that no process has, and with
// ERROR_ACCESS_DENIED when PROCESS_VM_READ is asked for a process whose
// executable this user may not inspect. A process that has ended but is not
// yet reaped can be opened, as on Windows, but has no modules any more.
WINPLATFORM_API HANDLE WINAPI OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);
