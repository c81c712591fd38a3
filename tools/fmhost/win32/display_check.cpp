#include "display_check.h"

#include <windows.h>

namespace fmhost {

void noteMissingDisplay(std::ostream& notes) {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
    if (probe != nullptr) {
        DestroyWindow(probe);
        return;
    }
    notes << "fmhost: no display: dialogs cannot open; run under a desktop or xvfb-run\n";
}

}  // namespace fmhost
