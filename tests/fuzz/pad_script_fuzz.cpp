// Feeds arbitrary text to the pad-script reader and the pen-record reader.
// A script either reads or fails with a PadScriptError at a real place;
// every pen record it makes reads back to the same record.
#include <sigplus/pad_script.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        for (const platform::InputEvent& event : sigplus::parsePadScript(text)) {
            if (event.kind != platform::InputEvent::Kind::ControlInput) continue;
            const auto pen = sigplus::parsePenInput(event.payload);
            if (!pen || sigplus::formatPenInput(*pen) != event.payload) std::abort();
        }
    } catch (const sigplus::PadScriptError& e) {
        if (e.line() < 1 || e.column() < 1 || e.message().empty()) std::abort();
        if (static_cast<std::size_t>(e.column()) > size + 1) std::abort();
    }
    if (const auto pen = sigplus::parsePenInput(text)) {
        if (sigplus::parsePenInput(sigplus::formatPenInput(*pen)) != pen) std::abort();
    }
    return 0;
}
