// Input for the module's real dialogs in the Windows test programs: a hook
// on the test's thread sees each dialog window as it is made and queues the
// scripted events to it as the messages a user's clicks and keys would
// send, then a close. The dialog takes them in its modal loop after it has
// initialised; what is left when it ends goes with it. Input for a hosted
// control goes to the dialog first and on to the control's window when the
// dialog's loop takes it, since that window is made after the dialog.
#include "ole_fake_control.h"

#include <winplatform/headless_input.h>

namespace winplatform {
namespace {

std::shared_ptr<InputSource> installed;
HHOOK hook = nullptr;
HHOOK controlInputHook = nullptr;

// Control input waiting in the dialog's queue; wParam is the pad's hot spot
// touched ("OK" 0, "RESET" 1, anything else ink only).
constexpr UINT kControlInput = WM_APP + 0x50;

WPARAM hotSpotOf(const std::string& payload) {
    if (payload == "OK") return 0;
    if (payload == "RESET") return 1;
    return static_cast<WPARAM>(-1);
}

void post(HWND dialog, const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::Kind::Click:
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(event.controlId, BN_CLICKED), 0);
            return;
        case InputEvent::Kind::Key:
            if (event.key == VK_RETURN) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            if (event.key == VK_ESCAPE) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        case InputEvent::Kind::Close: PostMessageW(dialog, WM_CLOSE, 0, 0); return;
        case InputEvent::Kind::ControlInput:
            PostMessageW(dialog, kControlInput, hotSpotOf(event.payload), 0);
            return;
    }
}

LRESULT CALLBACK forwardControlInput(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && message->message == kControlInput) {
        // A windowless control is touched here, as its container's window
        // would hand it the input.
        HWND control = FindWindowExW(message->hwnd, nullptr, kOleFakeWindowClass, nullptr);
        if (control == nullptr) touchWindowlessControl(static_cast<int>(message->wParam));
        message->message = control != nullptr ? kOleFakeTouch : WM_NULL;
        message->hwnd = control != nullptr ? control : message->hwnd;
    }
    return CallNextHookEx(controlInputHook, code, wParam, lParam);
}

LRESULT CALLBACK watchDialogs(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (lstrcmpW(className, L"#32770") == 0 && GetParent(window) == nullptr) {
            while (const auto event = installed ? installed->next() : std::nullopt) post(window, *event);
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void watchThisThread() {
    if (hook == nullptr) hook = SetWindowsHookExW(WH_CBT, &watchDialogs, nullptr, GetCurrentThreadId());
    if (controlInputHook == nullptr) {
        controlInputHook = SetWindowsHookExW(WH_GETMESSAGE, &forwardControlInput, nullptr, GetCurrentThreadId());
    }
}

// A test program never leaves a dialog for a person to close: one opened
// with no script installed is closed at once, as when a script has run out.
const bool watching = (watchThisThread(), true);

}  // namespace

std::shared_ptr<InputSource> setInputSource(std::shared_ptr<InputSource> source) {
    watchThisThread();
    std::swap(installed, source);
    return source;
}

}  // namespace winplatform
