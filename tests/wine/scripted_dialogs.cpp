// Input for the module's real dialogs in the Windows test programs: a hook
// on the test's thread sees each dialog window as it is made and queues the
// scripted events to it as the messages a user's clicks and keys would
// send, then a close. The dialog takes them in its modal loop after it has
// initialised; what is left when it ends goes with it.
#include <winplatform/headless_input.h>

namespace winplatform {
namespace {

std::shared_ptr<InputSource> installed;
HHOOK hook = nullptr;

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
        case InputEvent::Kind::ControlInput: return;  // the fake controls take no input
    }
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
