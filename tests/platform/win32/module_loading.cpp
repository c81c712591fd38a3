// The platform tests load modules under the names the Linux tests use
// (tests/windows/include/dlfcn.h), with the system's loader and nothing
// counted: these programs test the system itself, not a module's use of it.
#include <dlfcn.h>

#include <windows.h>

#include <string>

namespace {

std::string lastError;

}  // namespace

void* dlopen(const char* file, int mode) {
    if ((mode & RTLD_NOLOAD) != 0) return GetModuleHandleA(file);
    HMODULE module = LoadLibraryA(file);
    if (module == nullptr) lastError = "LoadLibraryA failed with error " + std::to_string(GetLastError());
    return module;
}

void* dlsym(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

int dlclose(void* module) { return FreeLibrary(static_cast<HMODULE>(module)) ? 0 : -1; }

const char* dlerror() { return lastError.empty() ? nullptr : lastError.c_str(); }
