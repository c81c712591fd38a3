// fmhost's pad driver on a dialog of its own: a pad control's stand-in
// window under the pad's ID that keeps the pen records it is sent, and
// buttons whose commands are kept. On a thread of its own, apart from the
// hook that closes the test program's other dialogs.
#include "win32/pad_driver.h"
#include "noticed_input.h"

#include <sigplus/pad_script.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kClear = 11006;

struct Seen {
    std::vector<std::string> steps;
    WNDPROC staticProcedure = nullptr;
};
Seen* seen = nullptr;

LRESULT CALLBACK padWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const bool tagged = data->dwData == sigplus::kPenRecordCopyData;
        seen->steps.push_back((tagged ? "" : "untagged ") +
                              std::string(static_cast<const char*>(data->lpData), data->cbData));
        return TRUE;
    }
    return CallWindowProcW(seen->staticProcedure, window, message, wParam, lParam);
}

// The system's own message box: once a test has loaded the plug-in, the
// program's import of MessageBoxW records boxes instead of showing them
// (import_counters.cpp), and the driver must meet a real one.
int systemMessageBox(HWND owner, LPCWSTR text, LPCWSTR title, UINT type) {
    using MessageBoxFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
    static const auto real = reinterpret_cast<MessageBoxFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "MessageBoxW")));
    return real(owner, text, title, type);
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        seen->staticProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            GetDlgItem(dialog, sigplus::kPadControlId), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&padWindow)));
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    seen->steps.push_back("command " + std::to_string(id));
    if (id == kClear) seen->steps.push_back("box " + std::to_string(systemMessageBox(dialog, L"Cleared.", L"Pad", MB_OK)));
    if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
    return TRUE;
}

// A dialog with the pad's window, OK as its default button, Cancel and Clear.
std::vector<WORD> padDialog() {
    std::vector<WORD> words;
    auto put = [&words](std::initializer_list<int> values) {
        for (int v : values) words.push_back(static_cast<WORD>(v));
    };
    auto align = [&words] {
        if (words.size() % 2 != 0) words.push_back(0);
    };
    const DWORD style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    put({LOWORD(style), HIWORD(style), 0, 0, 4, 0, 0, 200, 80, 0, 0, 0});
    auto item = [&](DWORD itemStyle, int id, int windowClass) {
        align();
        itemStyle |= WS_CHILD | WS_VISIBLE;
        put({LOWORD(itemStyle), HIWORD(itemStyle), 0, 0, 5, 5, 40, 14, id, 0xFFFF, windowClass, 0, 0});
    };
    item(BS_DEFPUSHBUTTON, IDOK, 0x0080);
    item(BS_PUSHBUTTON, IDCANCEL, 0x0080);
    item(BS_PUSHBUTTON, kClear, 0x0080);
    item(SS_LEFT, static_cast<int>(sigplus::kPadControlId), 0x0082);
    return words;
}

struct Played {
    std::vector<std::vector<std::string>> dialogs;
    std::vector<INT_PTR> results;
    std::string notes;
};

// Opens `dialogs` dialogs in turn while the script plays into them.
Played play(const char* script, int dialogs) {
    Played played;
    std::thread([&] {
        std::ostringstream notes;
        auto input = std::make_shared<fmhost::NoticedInput>(
            std::make_shared<sigplus::PadScriptSource>(sigplus::parsePadScript(script)), "test.pad", notes);
        const fmhost::Held driver = fmhost::installPadDriver(input, notes);
        ASSERT_TRUE(driver);
        const std::vector<WORD> layout = padDialog();
        for (int n = 0; n < dialogs; ++n) {
            Seen steps;
            seen = &steps;
            played.results.push_back(DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                                             reinterpret_cast<LPCDLGTEMPLATEW>(layout.data()),
                                                             nullptr, &dialogProcedure, 0));
            played.dialogs.push_back(steps.steps);
            seen = nullptr;
        }
        played.notes = notes.str();
    }).join();
    return played;
}

using Steps = std::vector<std::string>;

TEST(PadDriver, PlaysEachEventIntoTheDialogInOrderAndLeavesTheRestForTheNext) {
    const Played played = play(
        "stroke 10,30 20,40\nclick Clear\nwait 30ms\ntouch OK\nkey Enter\n"
        "close\nkey Escape\n",
        2);
    ASSERT_EQ(played.dialogs.size(), 2u);
    EXPECT_EQ(played.dialogs[0], (Steps{"pen 0:10,30 8:20,40", "command 11006", "box 1", "pen 46:201,14", "command 1"}));
    EXPECT_EQ(played.results[0], IDOK);
    // The close box: the dialog's own handling makes it Cancel. The Escape
    // after it is never taken.
    EXPECT_EQ(played.dialogs[1], (Steps{"command 2"}));
    EXPECT_EQ(played.results[1], IDCANCEL);
    EXPECT_EQ(played.notes, "message box: Pad: Cleared.\n");
}

TEST(PadDriver, ADialogThatFindsNoInputLeftIsClosedWithANote) {
    const Played played = play("click 11006\n", 1);
    EXPECT_EQ(played.dialogs.at(0), (Steps{"command 11006", "box 1", "command 2"}));
    EXPECT_EQ(played.results.at(0), IDCANCEL);
    EXPECT_EQ(played.notes, "message box: Pad: Cleared.\nfmhost: the pad script 'test.pad' has no input left: the "
                            "dialog was closed as by its close box\n");
}

}  // namespace
