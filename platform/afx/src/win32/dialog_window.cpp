#include "dialog_window.h"

#include "guarded.h"
#include "template_copy.h"

#include <platform/wide_text.h>

namespace afx {
namespace {

bool containerEnabled = false;

}  // namespace

bool controlContainerEnabled() { return containerEnabled; }

DialogWindow::DialogWindow() { oleInitialised_ = SUCCEEDED(OleInitialize(nullptr)); }

DialogWindow::~DialogWindow() {
    items_.release();
    if (oleInitialised_) OleUninitialize();
}

bool DialogWindow::create(const DialogTemplate& layout, const std::vector<DialogInitEntry>& initialisation,
                          CDialog& dialog) {
    for (const DialogItem& item : layout.items) {
        if (isControlClass(item.windowClass) && !containerEnabled) return false;
    }
    layout_ = &layout;
    initialisation_ = &initialisation;
    dialog_ = &dialog;
    return true;
}

INT_PTR DialogWindow::runModal(CDialog&, const DialogTemplate& layout) {
    const std::vector<DWORD> copy = templateWithoutControls(layout);
    // The host's window that is active when the dialog opens owns it.
    HWND owner = GetActiveWindow();
    const INT_PTR result =
        DialogBoxIndirectParamW(AfxGetResourceHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), owner,
                                &DialogWindow::procedure, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return result;
}

void DialogWindow::end(int result) {
    if (window_ != nullptr) ::EndDialog(window_, result);
}

INT_PTR CALLBACK DialogWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return reinterpret_cast<DialogWindow*>(lParam)->initialise(window);
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) return FALSE;
    switch (message) {
        case WM_COMMAND:
            self->command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DESTROY:
            // The controls go while their parent window still exists.
            self->items_.release();
            return FALSE;
        default: return FALSE;
    }
}

BOOL DialogWindow::initialise(HWND window) {
    window_ = window;
    for (const DialogItem& item : layout_->items) {
        if (!isControlClass(item.windowClass)) continue;
        const std::vector<BYTE>* savedState = nullptr;
        for (const DialogInitEntry& entry : *initialisation_) {
            if (entry.controlId == item.id && entry.message == kLoadFromStream) savedState = &entry.data;
        }
        RECT bounds{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(window, &bounds);
        auto made = ControlSite::create(item.windowClass.text, item.id, savedState, *dialog_, window, bounds);
        if (!made) {
            ::EndDialog(window, -1);
            return TRUE;
        }
        items_.host(item.id, std::move(made));
    }
    runGuarded([this] { dialog_->OnInitDialog(); });
    return TRUE;
}

void DialogWindow::command(UINT id, UINT code) {
    if (id == IDOK) {
        runGuarded([this] { dialog_->OnOK(); });
    } else if (id == IDCANCEL) {
        runGuarded([this] { dialog_->OnCancel(); });
    } else if (const AFX_MSGMAP_ENTRY* entry = dialog_->FindMessageEntry(WM_COMMAND, code, id)) {
        dialog_->RunHandler(entry->pfn);
    }
}

void DialogWindow::exchangeText(UINT controlId, std::u16string& value, bool save) {
    if (window_ == nullptr) return;
    HWND item = GetDlgItem(window_, static_cast<int>(controlId));
    if (item == nullptr) return;
    if (!save) {
        SetWindowTextW(item, platform::wide(value.c_str()));
        return;
    }
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, u'\0');
    const int length = GetWindowTextW(item, platform::wide(text.data()), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    value = std::move(text);
}

}  // namespace afx

void AfxEnableControlContainer() { afx::containerEnabled = true; }
