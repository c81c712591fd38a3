// The plug-in loaded as a host loads it, with the replacement control
// registered as an in-process server, and the bundled signature's text.
#pragma once

#include <FMWrapper/CallBlockBytes.h>
#include <FMWrapper/HostSide.h>
#include <platform/utf.h>
#include <sigplus/control.h>
#include <winplatform/com_registry.h>

#include <dlfcn.h>

#include <fstream>
#include <stdexcept>
#include <string>

namespace bench {

class LoadedPlugin {
public:
    LoadedPlugin() {
        winplatform::registerInprocServer(sigplus::CLSID_SigPlus, SIGPLUS_LIBRARY);
        handle_ = dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) throw std::runtime_error(dlerror());
        entry_ = reinterpret_cast<fmw::ExternCallProc>(dlsym(handle_, "FMExternCallProc"));
        call(fmw::kWhichCallInit);
    }
    ~LoadedPlugin() {
        call(fmw::kWhichCallShutdown);
        dlclose(handle_);
    }
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

private:
    void call(std::uint8_t type) {
        fmw::CallBlockBytes block(type, 60, reinterpret_cast<const void*>(entry_),
                                  reinterpret_cast<std::uintptr_t>(handle_));
        entry_(block.data());
    }
    void* handle_;
    fmw::ExternCallProc entry_;
};

inline std::u16string exampleSignature() {
    std::ifstream in(ZERA_EXAMPLE_SIGNATURE);
    std::string text;
    std::getline(in, text);
    return platform::utf8ToUtf16(text);
}

// The call a script makes: the bundled signature, bound to "Order 1042".
inline std::vector<fmw::Value> renderArguments() {
    return {fmw::Value::text(exampleSignature()), fmw::Value::text(u"Order 1042")};
}

}  // namespace bench
