#pragma once

#include "winplatform/types.h"

#define ACTCTX_FLAG_RESOURCE_NAME_VALID ((DWORD)0x008)
#define ACTCTX_FLAG_HMODULE_VALID ((DWORD)0x080)
#define ISOLATIONAWARE_MANIFEST_RESOURCE_ID 2

struct ACTCTXW {
    ULONG cbSize;
    DWORD dwFlags;
    LPCWSTR lpSource;
    USHORT wProcessorArchitecture;
    LANGID wLangId;
    LPCWSTR lpAssemblyDirectory;
    LPCWSTR lpResourceName;
    LPCWSTR lpApplicationName;
    HMODULE hModule;
};

// An activation context made from a module's manifest resource. Activation
// is a per-thread stack; a cookie must be deactivated in reverse order.
WINPLATFORM_API HANDLE WINAPI CreateActCtxW(const ACTCTXW* context);
WINPLATFORM_API void WINAPI ReleaseActCtx(HANDLE context);
WINPLATFORM_API BOOL WINAPI ActivateActCtx(HANDLE context, ULONG_PTR* cookie);
WINPLATFORM_API BOOL WINAPI DeactivateActCtx(DWORD flags, ULONG_PTR cookie);
WINPLATFORM_API BOOL WINAPI GetCurrentActCtx(HANDLE* context);
