// Feeds arbitrary bytes to the compiled-resource reader as a module's
// resource file; every entry it accepts must lie inside the input.
#include "res_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const BYTE> file(data, size);
    winplatform::forEachResource(file, [&](const winplatform::ResourceEntry& entry) {
        const BYTE* begin = file.data();
        const BYTE* end = begin + file.size();
        if (entry.header < begin || entry.header >= end) std::abort();
        if (!entry.data.empty() && (entry.data.data() < begin || entry.data.data() + entry.data.size() > end)) {
            std::abort();
        }
        return true;
    });
    return 0;
}
