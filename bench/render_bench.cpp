// The whole render call as a script makes it: two text parameters in, the
// registered handler, a container out; with the replacement control loaded
// as an in-process server.
#include "loaded_plugin.h"

#include <benchmark/benchmark.h>

namespace {

using bench::LoadedPlugin;

void RenderSigFromString(benchmark::State& state) {
    LoadedPlugin plugin;
    const auto function = fmw::findFunction(u"ZERA_RenderSigFromString");
    if (!function) {
        state.SkipWithError("the render function is not registered");
        return;
    }
    const std::vector<fmw::Value> arguments = bench::renderArguments();
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
