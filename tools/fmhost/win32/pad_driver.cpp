// The driver watches the thread's windows with a CBT hook: each top-level
// dialog gets a timer when it is made, which fires once the dialog's own
// message loop runs, that is after it has initialised (and, for the capture
// dialog, made its pad control). All the work is done in timer callbacks,
// from the dialog's loop, so that a handler's own modal loops (a message box
// raised by a click) see the hook again.
//
// Events are taken from the input one at a time: the next only after the
// one before has been handled and the dialog's loop has come round again,
// so an event the dialog ends on is the last it sees and the rest stay for
// the next dialog. The script's clock resumes where it stopped whenever a
// dialog starts playing, so time spent between captures is not waited for.
#include "win32/pad_driver.h"

#include "platform/utf.h"
#include "platform/wide_text.h"

#include <sigplus/pen_record.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace fmhost {
namespace {

using Clock = std::chrono::steady_clock;
using platform::InputEvent;

// Timer IDs on the dialogs' windows, apart from any a dialog sets itself.
constexpr UINT_PTR kReadyTimer = 0x464D0001;
constexpr UINT_PTR kAskTimer = 0x464D0002;
constexpr UINT_PTR kDeliverTimer = 0x464D0003;
constexpr UINT_PTR kEndTimer = 0x464D0004;

// A message box's text is the static control with this ID.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string windowText(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    const int length = GetWindowTextW(window, platform::wide(text.data()), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return platform::utf16ToUtf8(text);
}

// A dialog of the system's own, such as a message box, rather than one of
// the plug-in's: its procedure lives in user32.
bool isSystemDialog(HWND dialog) {
    const auto procedure = GetWindowLongPtrW(dialog, DWLP_DLGPROC);
    HMODULE owner = nullptr;
    return procedure != 0 &&
           GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(procedure), &owner) &&
           owner == GetModuleHandleW(L"user32.dll");
}

void command(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class PadDriver final : public HeldForRun {
public:
    PadDriver(std::shared_ptr<platform::InputSource> input, std::ostream& notes)
        : input_(std::move(input)), notes_(notes) {}

    ~PadDriver() override {
        if (creation_ != nullptr) UnhookWindowsHookEx(creation_);
        for (HWND dialog : playing_) killTimers(dialog);
        active = nullptr;
    }

    bool install() {
        active = this;
        creation_ = SetWindowsHookExW(WH_CBT, &PadDriver::watch, nullptr, GetCurrentThreadId());
        return creation_ != nullptr;
    }

private:
    static LRESULT CALLBACK watch(int code, WPARAM wParam, LPARAM lParam) {
        PadDriver* self = active;
        if (self != nullptr && code == HCBT_CREATEWND) {
            HWND window = reinterpret_cast<HWND>(wParam);
            const auto* made = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
            wchar_t className[8] = {};
            GetClassNameW(window, className, 8);
            if ((made->lpcs->style & WS_CHILD) == 0 && lstrcmpW(className, L"#32770") == 0) {
                SetTimer(window, kReadyTimer, 0, &PadDriver::onTimer);
            }
        } else if (self != nullptr && code == HCBT_DESTROYWND) {
            self->gone(reinterpret_cast<HWND>(wParam));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK onTimer(HWND window, UINT, UINT_PTR id, DWORD) {
        KillTimer(window, id);
        PadDriver* self = active;
        if (self == nullptr) return;
        if (id == kReadyTimer) return self->ready(window);
        // A dialog under another that is playing waits for it to go.
        if (self->playing_.empty() || self->playing_.back() != window) return;
        if (id == kAskTimer) return self->ask(window);
        if (id == kDeliverTimer) return self->deliver(window);
        // The close box was not enough: as on Linux the dialog ends anyway.
        if (id == kEndTimer) EndDialog(window, IDCANCEL);
    }

    void ready(HWND dialog) {
        if (isSystemDialog(dialog)) return answer(dialog);
        playing_.push_back(dialog);
        resume(dialog);
    }

    // Answered as the headless platform answers every message box.
    void answer(HWND box) {
        const std::string title = windowText(box);
        notes_ << "message box: " << title << ": " << windowText(GetDlgItem(box, kMessageBoxTextId)) << '\n';
        notes_.flush();
        command(box, IDOK);
    }

    void resume(HWND dialog) {
        anchorReal_ = Clock::now();
        anchorScript_ = lastPlayed_;
        SetTimer(dialog, kAskTimer, 0, &PadDriver::onTimer);
    }

    void gone(HWND window) {
        const auto found = std::find(playing_.begin(), playing_.end(), window);
        if (found == playing_.end()) return;
        const bool wasPlaying = found + 1 == playing_.end();
        playing_.erase(found);
        if (wasPlaying && !playing_.empty()) resume(playing_.back());
    }

    void ask(HWND dialog) {
        if (!next_) next_ = input_->next();
        if (!next_) {
            SendMessageW(dialog, WM_CLOSE, 0, 0);
            SetTimer(dialog, kEndTimer, 0, &PadDriver::onTimer);
            return;
        }
        const auto ahead = std::chrono::milliseconds(next_->timeMs > anchorScript_ ? next_->timeMs - anchorScript_ : 0);
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(anchorReal_ + ahead - Clock::now());
        SetTimer(dialog, kDeliverTimer, static_cast<UINT>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)),
                 &PadDriver::onTimer);
    }

    void deliver(HWND dialog) {
        const InputEvent event = std::move(*next_);
        next_.reset();
        lastPlayed_ = event.timeMs;
        play(dialog, event);
        SetTimer(dialog, kAskTimer, 0, &PadDriver::onTimer);
    }

    static void play(HWND dialog, const InputEvent& event) {
        switch (event.kind) {
            case InputEvent::Kind::Click: return command(dialog, static_cast<int>(event.controlId));
            case InputEvent::Kind::Key:
                if (event.key == platform::kKeyEscape) return command(dialog, IDCANCEL);
                if (event.key == platform::kKeyEnter) {
                    // The default button, as the dialog's own key handling finds it.
                    const LRESULT byDefault = SendMessageW(dialog, DM_GETDEFID, 0, 0);
                    command(dialog, HIWORD(byDefault) == DC_HASDEFID ? LOWORD(byDefault) : IDOK);
                }
                return;
            case InputEvent::Kind::Close: SendMessageW(dialog, WM_CLOSE, 0, 0); return;
            case InputEvent::Kind::ControlInput: {
                // A dialog without the control drops its input, as on Linux.
                HWND control = GetDlgItem(dialog, static_cast<int>(event.controlId));
                if (control == nullptr) return;
                COPYDATASTRUCT record{sigplus::kPenRecordCopyData, static_cast<DWORD>(event.payload.size()),
                                      const_cast<char*>(event.payload.data())};
                SendMessageW(control, WM_COPYDATA, reinterpret_cast<WPARAM>(dialog),
                             reinterpret_cast<LPARAM>(&record));
                return;
            }
        }
    }

    static void killTimers(HWND dialog) {
        for (UINT_PTR id : {kReadyTimer, kAskTimer, kDeliverTimer, kEndTimer}) KillTimer(dialog, id);
    }

    static PadDriver* active;

    std::shared_ptr<platform::InputSource> input_;
    std::ostream& notes_;
    HHOOK creation_ = nullptr;
    // The plug-in's open dialogs, innermost last: the one that plays.
    std::vector<HWND> playing_;
    // The event taken from the input and waiting for its time.
    std::optional<InputEvent> next_;
    Clock::time_point anchorReal_;
    std::uint32_t anchorScript_ = 0;
    std::uint32_t lastPlayed_ = 0;
};

PadDriver* PadDriver::active = nullptr;

}  // namespace

Held installPadDriver(std::shared_ptr<platform::InputSource> input, std::ostream& notes) {
    auto driver = std::make_unique<PadDriver>(std::move(input), notes);
    if (!driver->install()) return nullptr;
    return driver;
}

}  // namespace fmhost
