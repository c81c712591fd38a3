#include "module_resources.h"

#include "res_file.h"
#include "winplatform/embedded_resources.h"
#include "winplatform/errors.h"
#include "winplatform/resources.h"

#include <dlfcn.h>
#include <link.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

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

namespace {

// What tells one loaded module from another that a handle may later name:
// where it was loaded and from which file.
struct ModuleIdentity {
    HMODULE module = nullptr;
    ElfW(Addr) base = 0;
    std::string file;

    friend bool operator==(const ModuleIdentity&, const ModuleIdentity&) = default;
};

ModuleIdentity identityOf(HMODULE module) {
    ModuleIdentity identity;
    identity.module = module;
    link_map* map = nullptr;
    if (module != nullptr && dlinfo(module, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr) {
        identity.base = map->l_addr;
        if (map->l_name != nullptr) identity.file = map->l_name;
    }
    return identity;
}

struct CachedDirectory {
    ModuleIdentity identity;
    ResourceDirectory directory;
};

struct DirectoryCache {
    std::mutex mutex;
    std::vector<std::unique_ptr<CachedDirectory>> directories;
};

DirectoryCache& cache() {
    static DirectoryCache instance;
    return instance;
}

ResourceDirectory readDirectory(HMODULE module) {
    ResourceDirectory directory;
    directory.file = moduleResourceFile(module);
    forEachResource(directory.file, [&](const ResourceEntry& entry) {
        directory.entries.push_back(entry);
        return true;
    });
    return directory;
}

}  // namespace

const ResourceDirectory& moduleResources(HMODULE module) {
    ModuleIdentity identity = identityOf(module);
    DirectoryCache& c = cache();
    std::lock_guard lock(c.mutex);
    for (auto& cached : c.directories) {
        if (cached->identity.module != module) continue;
        if (cached->identity == identity) return cached->directory;
        // The handle names another module now: its directory is made anew
        // below, in place of the old one (whose references are stale with
        // their module).
        cached->directory = readDirectory(module);
        cached->identity = std::move(identity);
        return cached->directory;
    }
    auto made = std::make_unique<CachedDirectory>();
    made->directory = readDirectory(module);
    made->identity = std::move(identity);
    c.directories.push_back(std::move(made));
    return c.directories.back()->directory;
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
    const winplatform::ResourceDirectory& directory = winplatform::moduleResources(module);
    if (directory.file.empty()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const ResourceKey wantedType = ResourceKey::fromArgument(type);
    const ResourceKey wantedName = ResourceKey::fromArgument(name);
    HRSRC found = nullptr;
    bool typeSeen = false;
    for (const ResourceEntry& entry : directory.entries) {
        if (!entry.type.matches(wantedType)) continue;
        typeSeen = true;
        if (!entry.name.matches(wantedName)) continue;
        if (language != nullptr && *language != 0 && entry.language != *language) continue;
        found = reinterpret_cast<HRSRC>(const_cast<BYTE*>(entry.header));
        break;
    }
    if (found == nullptr) SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return found;
}

// The entry a resource handle points at, among the module's entries.
const ResourceEntry* entryOf(HMODULE module, HRSRC resource) {
    const auto* header = reinterpret_cast<const BYTE*>(resource);
    for (const ResourceEntry& entry : winplatform::moduleResources(module).entries) {
        if (entry.header == header) return &entry;
    }
    return nullptr;
}

}  // namespace

WINPLATFORM_API HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return findResource(module, type, name, nullptr);
}

WINPLATFORM_API HRSRC WINAPI FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
    return findResource(module, type, name, &language);
}

WINPLATFORM_API HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
    const ResourceEntry* entry = entryOf(module, resource);
    if (entry == nullptr) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return const_cast<BYTE*>(entry->data.data());
}

WINPLATFORM_API LPVOID WINAPI LockResource(HGLOBAL loaded) { return loaded; }

WINPLATFORM_API DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
    const ResourceEntry* entry = entryOf(module, resource);
    return entry != nullptr ? static_cast<DWORD>(entry->data.size()) : 0;
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
