// Signs in the capture dialog with the mouse, as a person without a pad
// would: waits for the dialog of another program of the session, draws
// three strokes in its pad control by posting the mouse's messages to the
// control's window, then clicks OK. A dialog without the control is
// cancelled, so that its program does not wait for ever.
//   mouse_signer.exe   (exit status 0 when it signed)
#include <windows.h>

#include <cstdio>

namespace {

constexpr int kPadControlId = 11000;

void post(HWND window, UINT message, WPARAM keys, int x, int y) {
    PostMessageW(window, message, keys, MAKELPARAM(x, y));
}

}  // namespace

int main() {
    HWND dialog = nullptr;
    HWND pad = nullptr;
    // The dialog's program starts beside this one; give it half a minute.
    for (int tries = 0; tries < 300 && pad == nullptr; ++tries) {
        dialog = FindWindowW(nullptr, L"Capturing Signature");
        if (dialog != nullptr && IsWindowVisible(dialog)) pad = GetDlgItem(dialog, kPadControlId);
        if (pad == nullptr) Sleep(100);
    }
    if (pad == nullptr) {
        if (dialog != nullptr) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        std::fprintf(stderr, "mouse_signer: no capture dialog with a pad control\n");
        return 1;
    }
    // Messages posted to the windows of one thread arrive in order: the
    // strokes are taken before the click.
    for (int stroke = 0; stroke < 3; ++stroke) {
        const int left = 30 + stroke * 110;
        post(pad, WM_LBUTTONDOWN, MK_LBUTTON, left, 80);
        for (int step = 1; step <= 20; ++step) post(pad, WM_MOUSEMOVE, MK_LBUTTON, left + 4 * step, 80 - step % 5 * 12);
        post(pad, WM_LBUTTONUP, 0, left + 84, 60);
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return 0;
}
