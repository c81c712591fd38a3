#include "plugin_loader.h"

#include "library_file.h"

#include <dlfcn.h>

#include <cstring>

namespace fmhost {

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
    // dlopen searches the library path for a bare name; a plug-in file is
    // always meant as a path, relative to the current folder if need be.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    if (const auto fault = libraryFileFault(file)) {
        error = *fault;
        return nullptr;
    }
    dlerror();
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "the file could not be loaded";
        return nullptr;
    }
    dlerror();
    void* symbol = dlsym(handle, "FMExternCallProc");
    const char* why = dlerror();
    if (symbol == nullptr || why != nullptr) {
        error = "the file has no FMExternCallProc export";
        dlclose(handle);
        return nullptr;
    }
    fmw::ExternCallProc entry = nullptr;
    static_assert(sizeof entry == sizeof symbol);
    std::memcpy(&entry, &symbol, sizeof entry);  // object pointer to function pointer, as POSIX allows
    return std::unique_ptr<PluginModule>(new PluginModule(handle, entry));
}

PluginModule::PluginModule(void* handle, fmw::ExternCallProc entry) : handle_(handle), entry_(entry) {}

PluginModule::~PluginModule() { dlclose(handle_); }

}  // namespace fmhost
