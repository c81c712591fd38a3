#pragma once

#include "winplatform/types.h"

#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_DLGINIT MAKEINTRESOURCEW(240)
#define RT_MANIFEST MAKEINTRESOURCEW(24)

#define GET_MODULE_HANDLE_EX_FLAG_PIN ((DWORD)0x1)
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT ((DWORD)0x2)
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS ((DWORD)0x4)

// The handle of the module that contains an address (with
// GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS). On Linux a module handle is the
// handle the dynamic loader gives for the shared object.
WINPLATFORM_API BOOL WINAPI GetModuleHandleExW(DWORD flags, LPCWSTR moduleNameOrAddress, HMODULE* module);

// Resources of a module. A module carries its compiled resource file (.res)
// as two exported symbols, see winplatform/embedded_resources.h.
WINPLATFORM_API HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
WINPLATFORM_API HRSRC WINAPI FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
WINPLATFORM_API HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
WINPLATFORM_API LPVOID WINAPI LockResource(HGLOBAL loaded);
WINPLATFORM_API DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);

// Copies string `id` of the module's string table into the buffer, cut to
// bufferMax - 1 units and zero-terminated; returns the units copied. With a
// bufferMax of 0 the buffer receives a read-only pointer to the string
// itself, as on Windows. A missing string returns 0 and leaves an empty
// string in a buffer of at least one unit.
WINPLATFORM_API int WINAPI LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int bufferMax);
