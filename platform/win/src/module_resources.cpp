#include "module_resources.h"

#include "res_file.h"
#include "winplatform/embedded_resources.h"
#include "winplatform/errors.h"
#include "winplatform/resources.h"

#include <dlfcn.h>

#include <cstddef>

namespace winplatform {

std::span<const BYTE> moduleResourceFile(HMODULE module) {
    void* handle = module != nullptr ? static_cast<void*>(module) : dlopen(nullptr, RTLD_LAZY);
    if (handle == nullptr) return {};
    const auto* bytes = static_cast<const BYTE*>(dlsym(handle, WINPLATFORM_RESOURCE_BYTES_SYMBOL));
    const auto* size = static_cast<const std::size_t*>(dlsym(handle, WINPLATFORM_RESOURCE_SIZE_SYMBOL));
    if (module == nullptr) dlclose(handle);
    if (bytes == nullptr || size == nullptr) return {};
    return {bytes, *size};
}

}  // namespace winplatform

using winplatform::ResourceEntry;
using winplatform::ResourceKey;

namespace {

HRSRC findResource(HMODULE module, LPCWSTR type, LPCWSTR name, const WORD* language) {
    if (type == nullptr || name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const auto file = winplatform::moduleResourceFile(module);
    if (file.empty()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const ResourceKey wantedType = ResourceKey::fromArgument(type);
    const ResourceKey wantedName = ResourceKey::fromArgument(name);
    HRSRC found = nullptr;
    bool typeSeen = false;
    winplatform::forEachResource(file, [&](const ResourceEntry& entry) {
        if (!entry.type.matches(wantedType)) return true;
        typeSeen = true;
        if (!entry.name.matches(wantedName)) return true;
        if (language != nullptr && *language != 0 && entry.language != *language) return true;
        found = reinterpret_cast<HRSRC>(const_cast<BYTE*>(entry.header));
        return false;
    });
    if (found == nullptr) SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return found;
}

// The entry a resource handle points at, checked against the module's file.
std::optional<ResourceEntry> entryOf(HMODULE module, HRSRC resource) {
    const auto file = winplatform::moduleResourceFile(module);
    const auto* header = reinterpret_cast<const BYTE*>(resource);
    if (file.empty() || header < file.data() || header >= file.data() + file.size()) return std::nullopt;
    std::size_t next = 0;
    return winplatform::parseResourceEntry(file, static_cast<std::size_t>(header - file.data()), &next);
}

}  // namespace

WINPLATFORM_API HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return findResource(module, type, name, nullptr);
}

WINPLATFORM_API HRSRC WINAPI FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
    return findResource(module, type, name, &language);
}

WINPLATFORM_API HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
    const auto entry = entryOf(module, resource);
    if (!entry) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return const_cast<BYTE*>(entry->data.data());
}

WINPLATFORM_API LPVOID WINAPI LockResource(HGLOBAL loaded) { return loaded; }

WINPLATFORM_API DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
    const auto entry = entryOf(module, resource);
    return entry ? static_cast<DWORD>(entry->data.size()) : 0;
}

WINPLATFORM_API BOOL WINAPI GetModuleHandleExW(DWORD flags, LPCWSTR moduleNameOrAddress, HMODULE* module) {
    if (module == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *module = nullptr;
    if ((flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) == 0) {
        // Only the lookup by address is needed here; by name is not served.
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Dl_info info{};
    if (dladdr(moduleNameOrAddress, &info) == 0 || info.dli_fname == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) {
        // The main program: its file name does not reopen it.
        handle = dlopen(nullptr, RTLD_LAZY);
    }
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    // The loader's handle stays valid while the module is loaded; keep the
    // reference count unchanged unless the caller pins the module.
    if ((flags & GET_MODULE_HANDLE_EX_FLAG_PIN) == 0) dlclose(handle);
    *module = static_cast<HMODULE>(handle);
    return TRUE;
}
