#include "com_internal.h"
#include "process_state.h"

#include "winplatform/com_registry.h"

#include <dlfcn.h>

#include <cstdlib>
#include <map>
#include <mutex>

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::string> servers;  // by CLSID text, upper case
    std::map<std::string, void*> loaded;         // by library path
};

Registry& registry() {
    static Registry& instance = winplatform::detail::processShared<Registry>("com.registry");
    return instance;
}

std::string keyOf(REFCLSID clsid) {
    OLECHAR text[39];
    StringFromGUID2(clsid, text, 39);
    return std::string(text, text + 38);
}

// The library that a list of "{CLSID}=library" entries names for a class.
std::optional<std::string> fromList(std::string_view list, REFCLSID clsid) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string_view::npos) end = list.size();
        const std::string_view entry = list.substr(start, end - start);
        const std::size_t equals = entry.find('=');
        if (equals != std::string_view::npos && equals + 1 < entry.size()) {
            const std::string_view name = entry.substr(0, equals);
            std::u16string wide(name.begin(), name.end());
            CLSID parsed{};
            if (SUCCEEDED(CLSIDFromString(wide.c_str(), &parsed)) && parsed == clsid) {
                return std::string(entry.substr(equals + 1));
            }
        }
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<std::string> fromEnvironment(REFCLSID clsid) {
    const char* value = std::getenv(winplatform::kInprocServersVariable);
    if (value == nullptr) return std::nullopt;
    return fromList(value, clsid);
}

// A module that stands alone (see process_state.h) has no program to
// register its servers; those its build names are found in its own folder,
// as an installer that copied them there would have registered them.
std::optional<std::string> besideThisModule(REFCLSID clsid) {
#if defined(WINPLATFORM_SERVERS_BESIDE_MODULE)
    if (!winplatform::detail::standsAlone()) return std::nullopt;
    const auto name = fromList(WINPLATFORM_SERVERS_BESIDE_MODULE, clsid);
    Dl_info self{};
    if (!name || dladdr(reinterpret_cast<void*>(&besideThisModule), &self) == 0 || self.dli_fname == nullptr) {
        return std::nullopt;
    }
    const std::string file(self.dli_fname);
    const std::size_t slash = file.rfind('/');
    return (slash == std::string::npos ? std::string(".") : file.substr(0, slash)) + "/" + *name;
#else
    static_cast<void>(clsid);
    return std::nullopt;
#endif
}

// Loads a server library once and finds its class object export.
HRESULT classObjectFromLibrary(const std::string& path, REFCLSID clsid, REFIID riid, void** object) {
    void* library = nullptr;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        const auto it = r.loaded.find(path);
        if (it != r.loaded.end()) library = it->second;
    }
    if (library == nullptr) {
        // Loaded outside the lock: the library's initialisers may register classes.
        void* opened = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (opened == nullptr) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
        }
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        const auto [it, inserted] = r.loaded.emplace(path, opened);
        if (!inserted) dlclose(opened);  // another thread loaded it first
        library = it->second;
    }
    void* symbol = dlsym(library, "DllGetClassObject");
    if (symbol == nullptr) return CO_E_ERRORINDLL;
    const auto getClassObject = reinterpret_cast<LPFNGETCLASSOBJECT>(symbol);
    return getClassObject(clsid, riid, object);
}

}  // namespace

namespace winplatform {

HRESULT registerInprocServer(REFCLSID clsid, std::string_view libraryPath) {
    if (libraryPath.empty()) return E_INVALIDARG;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.servers[keyOf(clsid)] = std::string(libraryPath);
    return S_OK;
}

HRESULT unregisterInprocServer(REFCLSID clsid) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.servers.erase(keyOf(clsid)) > 0 ? S_OK : S_FALSE;
}

std::optional<std::string> inprocServerPath(REFCLSID clsid) {
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        const auto it = r.servers.find(keyOf(clsid));
        if (it != r.servers.end()) return it->second;
    }
    if (auto named = fromEnvironment(clsid)) return named;
    return besideThisModule(clsid);
}

}  // namespace winplatform

WINPLATFORM_API HRESULT WINAPI CoGetClassObject(REFCLSID clsid, DWORD classContext, COSERVERINFO* serverInfo,
                                                REFIID riid, LPVOID* object) {
    if (object == nullptr) return E_INVALIDARG;
    *object = nullptr;
    if (serverInfo != nullptr) return E_INVALIDARG;
    if (!winplatform::com::initialisedOnThisThread()) return CO_E_NOTINITIALIZED;
    const HRESULT registered = winplatform::com::registeredClassObject(clsid, classContext, riid, object);
    if (registered != S_FALSE) return registered;
    if ((classContext & CLSCTX_INPROC_SERVER) != 0) {
        if (const auto path = winplatform::inprocServerPath(clsid)) {
            return classObjectFromLibrary(*path, clsid, riid, object);
        }
    }
    return REGDB_E_CLASSNOTREG;
}

WINPLATFORM_API HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD classContext, REFIID riid,
                                                LPVOID* object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(clsid, classContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(outer, riid, object);
    factory->Release();
    if (FAILED(hr)) *object = nullptr;
    return hr;
}
