// The whole render call as a script makes it: two text parameters in, the
// registered handler, a container out; with the replacement control loaded
// as an in-process server.
#include "HostCallBlock.h"

#include <FMWrapper/HostSide.h>
#include <platform/utf.h>
#include <sigplus/control.h>
#include <winplatform/com_registry.h>

#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

class LoadedPlugin {
public:
    LoadedPlugin() {
        winplatform::registerInprocServer(sigplus::CLSID_SigPlus, SIGPLUS_LIBRARY);
        handle_ = dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) throw std::runtime_error(dlerror());
        entry_ = reinterpret_cast<FMExternCallProcPtr>(dlsym(handle_, "FMExternCallProc"));
        call(kCallStartup);
    }
    ~LoadedPlugin() {
        call(kCallShutdown);
        dlclose(handle_);
    }
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

private:
    void call(std::uint8_t type) {
        HostCallBlock block{};
        block.callType = type;
        block.hostVersion = 60;
        block.moduleHandle = reinterpret_cast<std::uintptr_t>(handle_);
        entry_(&block);
    }
    void* handle_;
    FMExternCallProcPtr entry_;
};

std::u16string exampleSignature() {
    std::ifstream in(ZERA_EXAMPLE_SIGNATURE);
    std::string text;
    std::getline(in, text);
    return platform::utf8ToUtf16(text);
}

void RenderSigFromString(benchmark::State& state) {
    LoadedPlugin plugin;
    const auto function = fmw::findFunction(u"ZERA_RenderSigFromString");
    if (!function) {
        state.SkipWithError("the render function is not registered");
        return;
    }
    const std::vector<fmw::Value> arguments = {fmw::Value::text(exampleSignature()), fmw::Value::text(u"Order 1042")};
    std::size_t bytes = 0;
    for (auto _ : state) {
        const fmw::CallResult outcome = fmw::callFunction(*function, arguments);
        if (outcome.result.type() != fmw::Value::Type::Container) {
            state.SkipWithError("the render gave no image");
            return;
        }
        bytes = outcome.result.containerValue().streams.at(0).bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["gif_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(RenderSigFromString)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
