// Renders the bundled signature through the registered handler many times
// in one process and prints how much resident memory grew: a host that
// renders all day must not keep anything per call.
//   render_memory [renders]     (100000 unless given)
// The renders after the first run in renderMany, so that an instruction
// count can be taken of them alone:
//   valgrind --tool=callgrind --toggle-collect='*renderMany*' render_memory 200
#include "loaded_plugin.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Resident memory now, in KiB, from the kernel's status of the process.
long residentKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// Not inlined, so that a profiler can count these renders alone.
[[gnu::noinline]] bool renderMany(const fmw::FunctionEntry& function, const std::vector<fmw::Value>& arguments,
                                  long count) {
    for (long i = 0; i < count; ++i) {
        const fmw::CallResult outcome = fmw::callFunction(function, arguments);
        if (outcome.result.type() != fmw::Value::Type::Container) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const long renders = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
    bench::LoadedPlugin plugin;
    const auto function = fmw::findFunction(u"ZERA_RenderSigFromString");
    if (!function || renders < 1) return 2;
    const std::vector<fmw::Value> arguments = bench::renderArguments();
    // The first render loads the control's library and fills the caches.
    if (!renderMany(*function, arguments, 1)) return 1;
    const long before = residentKib();
    if (!renderMany(*function, arguments, renders)) {
        std::fprintf(stderr, "a render gave no image\n");
        return 1;
    }
    const long after = residentKib();
    std::printf("resident memory over %ld renders: %ld KiB before, %ld KiB after, growth %ld KiB (%.1f bytes per render)\n",
                renders, before, after, after - before, 1024.0 * static_cast<double>(after - before) / static_cast<double>(renders));
    return 0;
}
