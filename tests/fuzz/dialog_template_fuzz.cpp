// Feeds arbitrary bytes to the dialog-template and initialisation-data
// readers the framework uses on a module's resources.
#include <afxtemplate.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const BYTE> bytes(data, size);
    if (const auto dialog = afx::parseDialogTemplate(bytes)) {
        std::size_t carried = 0;
        for (const afx::DialogItem& item : dialog->items) carried += item.creationData.size();
        if (carried > size) std::abort();
    }
    if (const auto entries = afx::parseDialogInit(bytes)) {
        std::size_t carried = 0;
        for (const afx::DialogInitEntry& entry : *entries) carried += entry.data.size() + 8;
        if (carried > size) std::abort();
    }
    return 0;
}
