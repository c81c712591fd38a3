// The Windows test programs load the plug-in module and put counting
// wrappers into its import table for the calls whose balance the tests
// check: activation contexts, files, COM initialisation, and message boxes,
// which are recorded instead of shown so that no box waits for a click.
#include <dlfcn.h>
#include <winplatform/diagnostics.h>

#include <objbase.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>

namespace {

using ActivateFn = BOOL(WINAPI*)(HANDLE, ULONG_PTR*);
using DeactivateFn = BOOL(WINAPI*)(DWORD, ULONG_PTR);
using CreateFileFn = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
using CloseHandleFn = BOOL(WINAPI*)(HANDLE);
using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoUninitializeFn = void(WINAPI*)();

// The system's functions, taken from the import slots they are replaced in.
ActivateFn realActivate = nullptr;
DeactivateFn realDeactivate = nullptr;
CreateFileFn realCreateFile = nullptr;
CloseHandleFn realCloseHandle = nullptr;
CoInitializeExFn realCoInitializeEx = nullptr;
CoUninitializeFn realCoUninitialize = nullptr;

winplatform::ActivationStats activation;
std::set<HANDLE> openFiles;
std::size_t comInits = 0;
std::vector<std::u16string> boxes;

BOOL WINAPI countedActivate(HANDLE context, ULONG_PTR* cookie) {
    const BOOL done = realActivate(context, cookie);
    if (done) {
        ++activation.activations;
        ++activation.depth;
    }
    return done;
}

BOOL WINAPI countedDeactivate(DWORD flags, ULONG_PTR cookie) {
    const BOOL done = realDeactivate(flags, cookie);
    if (done) {
        ++activation.deactivations;
        if (activation.depth > 0) --activation.depth;
    }
    return done;
}

HANDLE WINAPI countedCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE templateFile) {
    HANDLE file = realCreateFile(path, access, share, security, disposition, flags, templateFile);
    if (file != INVALID_HANDLE_VALUE) openFiles.insert(file);
    return file;
}

BOOL WINAPI countedCloseHandle(HANDLE handle) {
    openFiles.erase(handle);
    return realCloseHandle(handle);
}

HRESULT WINAPI countedCoInitializeEx(LPVOID reserved, DWORD model) {
    const HRESULT status = realCoInitializeEx(reserved, model);
    if (SUCCEEDED(status)) ++comInits;
    return status;
}

void WINAPI countedCoUninitialize() {
    if (comInits > 0) --comInits;
    realCoUninitialize();
}

int WINAPI recordedMessageBox(HWND, LPCWSTR text, LPCWSTR, UINT) {
    std::u16string copy;
    for (const wchar_t* c = text; c != nullptr && *c != 0; ++c) copy.push_back(static_cast<char16_t>(*c));
    boxes.push_back(copy);
    return IDOK;
}

template <typename Function>
void keepReal(Function* real, ULONG_PTR slot) {
    if (*real == nullptr) *real = reinterpret_cast<Function>(slot);
}

// The counting function for an imported name, or null; the first slot seen
// gives the system's own function.
void* replacementFor(const char* name, ULONG_PTR slot) {
    if (std::strcmp(name, "ActivateActCtx") == 0) {
        keepReal(&realActivate, slot);
        return reinterpret_cast<void*>(&countedActivate);
    }
    if (std::strcmp(name, "DeactivateActCtx") == 0) {
        keepReal(&realDeactivate, slot);
        return reinterpret_cast<void*>(&countedDeactivate);
    }
    if (std::strcmp(name, "CreateFileW") == 0) {
        keepReal(&realCreateFile, slot);
        return reinterpret_cast<void*>(&countedCreateFile);
    }
    if (std::strcmp(name, "CloseHandle") == 0) {
        keepReal(&realCloseHandle, slot);
        return reinterpret_cast<void*>(&countedCloseHandle);
    }
    if (std::strcmp(name, "CoInitializeEx") == 0) {
        keepReal(&realCoInitializeEx, slot);
        return reinterpret_cast<void*>(&countedCoInitializeEx);
    }
    if (std::strcmp(name, "CoUninitialize") == 0) {
        keepReal(&realCoUninitialize, slot);
        return reinterpret_cast<void*>(&countedCoUninitialize);
    }
    if (std::strcmp(name, "MessageBoxW") == 0) return reinterpret_cast<void*>(&recordedMessageBox);
    return nullptr;
}

void countImports(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name != 0; ++dll) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            void* replacement = replacementFor(reinterpret_cast<const char*>(byName->Name), slots->u1.Function);
            if (replacement == nullptr || slots->u1.Function == reinterpret_cast<ULONG_PTR>(replacement)) continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
        }
    }
}

}  // namespace

void* dlopen(const char* file, int mode) {
    if ((mode & RTLD_NOLOAD) != 0) return loadModule(file, mode);
    // The test program's own COM initialisations count as well, as they do
    // for the Linux platform's per-thread count.
    static const bool programCounted = (countImports(GetModuleHandleW(nullptr)), true);
    static_cast<void>(programCounted);
    void* module = loadModule(file, mode);
    if (module != nullptr) countImports(static_cast<HMODULE>(module));
    return module;
}

namespace winplatform {

std::size_t openFileCount() { return openFiles.size(); }
ActivationStats activationStats() { return activation; }
std::size_t comInitCount() { return comInits; }
std::vector<std::u16string> messageBoxes() { return boxes; }
void clearMessageBoxes() { boxes.clear(); }

}  // namespace winplatform
