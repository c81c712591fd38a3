// Loading modules with the system's loader, under the names the Linux tests
// use (include/dlfcn.h): dlsym, dlclose and dlerror, and the loading each
// program's dlopen builds on.
#include <dlfcn.h>

#include <windows.h>

#include <string>

namespace {

std::string lastError;

std::wstring widened(const char* text) {
    std::wstring out;
    for (const char* c = text; *c != 0; ++c) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return out;
}

}  // namespace

void* loadModule(const char* file, int mode) {
    const std::wstring path = widened(file);
    if ((mode & RTLD_NOLOAD) != 0) return GetModuleHandleW(path.c_str());
    HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) lastError = "LoadLibraryW failed with error " + std::to_string(GetLastError());
    return module;
}

void* dlsym(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

int dlclose(void* module) { return FreeLibrary(static_cast<HMODULE>(module)) ? 0 : -1; }

const char* dlerror() { return lastError.empty() ? nullptr : lastError.c_str(); }
