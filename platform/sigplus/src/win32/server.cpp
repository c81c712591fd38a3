// The DLL as an in-process server: its module handle, and the class's
// registration under HKEY_CLASSES_ROOT\CLSID that regsvr32 writes and
// removes through DllRegisterServer and DllUnregisterServer.
#include "control_window.h"
#include "module_instance.h"
#include "sigplus/control.h"

#include <objbase.h>
#include <olectl.h>
#include <shlwapi.h>

#include <string>

namespace {

HINSTANCE thisModule = nullptr;

// "CLSID\{69A40DA3-...}", the class's key under HKEY_CLASSES_ROOT.
std::wstring classKey() {
    wchar_t text[40] = {};
    StringFromGUID2(sigplus::CLSID_SigPlus, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

// The DLL's full path, however long.
std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(thisModule, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool setText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LONG status =
        RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    RegCloseKey(opened);
    return status == ERROR_SUCCESS;
}

}  // namespace

HINSTANCE sigplus::win32::moduleInstance() { return thisModule; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        sigplus::unregisterControlWindowClass();
    }
    return TRUE;
}

STDAPI DllRegisterServer() {
    const std::wstring path = modulePath();
    if (path.empty()) return SELFREG_E_CLASS;
    const std::wstring key = classKey();
    const std::wstring server = key + L"\\InprocServer32";
    const bool written = setText(HKEY_CLASSES_ROOT, key, nullptr, L"SigPlus Control") &&
                         setText(HKEY_CLASSES_ROOT, server, nullptr, path) &&
                         setText(HKEY_CLASSES_ROOT, server, L"ThreadingModel", L"Apartment") &&
                         setText(HKEY_CLASSES_ROOT, key + L"\\Control", nullptr, L"");
    return written ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    const DWORD status = SHDeleteKeyW(HKEY_CLASSES_ROOT, classKey().c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
