#include "plugin_loader.h"

#include "library_file.h"

#include <dlfcn.h>

#include <cstring>
#include <vector>

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
    FMExternCallProcPtr entry = nullptr;
    static_assert(sizeof entry == sizeof symbol);
    std::memcpy(&entry, &symbol, sizeof entry);  // object pointer to function pointer, as POSIX allows
    return std::unique_ptr<PluginModule>(new PluginModule(handle, entry));
}

PluginModule::PluginModule(void* handle, FMExternCallProcPtr entry) : handle_(handle), entry_(entry) {}

PluginModule::~PluginModule() { dlclose(handle_); }

HostCallBlock& PluginModule::freshBlock(std::uint8_t callType) {
    block_ = HostCallBlock{};
    block_.callType = callType;
    block_.moduleHandle = reinterpret_cast<std::uintptr_t>(handle_);
    return block_;
}

std::int64_t PluginModule::startup(std::int16_t hostVersion) {
    HostCallBlock& block = freshBlock(kCallStartup);
    block.hostVersion = hostVersion;
    entry_(&block);
    return block.result;
}

void PluginModule::shutdown() { entry_(&freshBlock(kCallShutdown)); }

void PluginModule::preferences() { entry_(&freshBlock(kCallPreferences)); }

std::u16string PluginModule::getString(std::uint8_t stringId) {
    std::vector<char16_t> buffer(kStringBufferChars, u'\0');
    HostCallBlock& block = freshBlock(kCallGetString);
    block.stringId = stringId;
    block.bufferChars = kStringBufferChars;
    block.result = static_cast<decltype(block.result)>(reinterpret_cast<std::uintptr_t>(buffer.data()));
    entry_(&block);
    block.result = 0;  // the buffer is gone when this returns
    std::size_t length = 0;
    while (length < buffer.size() && buffer[length] != u'\0') ++length;
    return std::u16string(buffer.data(), length);
}

}  // namespace fmhost
