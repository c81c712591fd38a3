#include "dialog_watch.h"

#include <windows.h>

namespace fmhost {
namespace {

// Top-level windows made on this thread while a watch is on.
std::size_t topLevelWindows = 0;

LRESULT CALLBACK noticeWindow(int code, WPARAM window, LPARAM details) {
    if (code == HCBT_CREATEWND) {
        const auto* created = reinterpret_cast<const CBT_CREATEWNDW*>(details);
        if (created->lpcs->hwndParent == nullptr) ++topLevelWindows;
    }
    return CallNextHookEx(nullptr, code, window, details);
}

}  // namespace

DialogWatch::DialogWatch()
    : start_(topLevelWindows), hook_(SetWindowsHookExW(WH_CBT, noticeWindow, nullptr, GetCurrentThreadId())) {}

DialogWatch::~DialogWatch() {
    if (hook_ != nullptr) UnhookWindowsHookEx(static_cast<HHOOK>(hook_));
}

// Without a hook nothing can be told: say a window was seen, rather than
// claim that none was.
bool DialogWatch::sawWindow() const { return hook_ == nullptr || topLevelWindows != start_; }

}  // namespace fmhost
