// Signs in another program's capture dialog with the mouse, as a person at
// the screen would: waits for the dialog, posts strokes of mouse input to
// the pad control's window (button down, moves, button up, in the window's
// own pixels), then clicks the dialog's OK button.
//   mouse_signer.exe   exit 0 when it signed, 1 when no dialog came
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kPadControlId = 11000;

struct Fraction {
    double x;
    double y;
};

// A "V" and a line under it, as fractions of the window's width and height.
const std::vector<std::vector<Fraction>> kStrokes = {
    {{0.20, 0.20}, {0.25, 0.40}, {0.30, 0.60}, {0.35, 0.75}, {0.40, 0.60}, {0.45, 0.40}, {0.50, 0.20}},
    {{0.15, 0.85}, {0.30, 0.86}, {0.45, 0.86}, {0.60, 0.85}},
};

HWND waitForDialog() {
    for (int tries = 0; tries < 600; ++tries) {
        HWND dialog = FindWindowW(L"#32770", L"Capturing Signature");
        if (dialog != nullptr && IsWindowVisible(dialog) && GetDlgItem(dialog, kPadControlId) != nullptr) {
            return dialog;
        }
        Sleep(50);
    }
    return nullptr;
}

LPARAM at(const RECT& client, const Fraction& point) {
    const int x = static_cast<int>(point.x * (client.right - client.left));
    const int y = static_cast<int>(point.y * (client.bottom - client.top));
    return MAKELPARAM(x, y);
}

// Waits until the window's thread has taken everything posted so far.
void settle(HWND window) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
}

}  // namespace

int main() {
    HWND dialog = waitForDialog();
    if (dialog == nullptr) {
        std::fprintf(stderr, "mouse_signer: no capture dialog with the pad's window came\n");
        return 1;
    }
    HWND pad = GetDlgItem(dialog, kPadControlId);
    RECT client{};
    GetClientRect(pad, &client);
    for (const auto& stroke : kStrokes) {
        PostMessageW(pad, WM_LBUTTONDOWN, MK_LBUTTON, at(client, stroke.front()));
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            Sleep(10);
            PostMessageW(pad, WM_MOUSEMOVE, MK_LBUTTON, at(client, stroke[i]));
        }
        PostMessageW(pad, WM_LBUTTONUP, 0, at(client, stroke.back()));
        settle(pad);
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return 0;
}
