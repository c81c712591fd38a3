#include "dialog_window.h"

namespace afx {
namespace {

bool containerEnabled = false;

}  // namespace

bool controlContainerEnabled() { return containerEnabled; }

DialogWindow::DialogWindow() { comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }

DialogWindow::~DialogWindow() {
    for (CWnd* window : bound_) {
        window->m_pCtrlSite = nullptr;
        window->m_pDialogWindow = nullptr;
    }
    // Controls go before COM does.
    sites_.clear();
    if (comInitialised_) CoUninitialize();
}

bool DialogWindow::create(const DialogTemplate& layout, const std::vector<DialogInitEntry>& initialisation,
                          CDialog& dialog) {
    for (const DialogItem& item : layout.items) {
        if (item.windowClass.kind != NameOrNumber::Kind::Text) {
            texts_[item.id] = item.title.kind == NameOrNumber::Kind::Text ? item.title.text : u"";
            continue;
        }
        if (!containerEnabled) return false;
        const std::vector<BYTE>* savedState = nullptr;
        for (const DialogInitEntry& entry : initialisation) {
            if (entry.controlId == item.id && entry.message == kLoadFromStream) savedState = &entry.data;
        }
        auto site = ControlSite::create(item.windowClass.text, item.id, savedState, dialog);
        if (!site) return false;
        sites_[item.id] = std::move(site);
    }
    return true;
}

void DialogWindow::bind(CWnd& window, UINT controlId) {
    window.m_nControlId = controlId;
    window.m_pCtrlSite = site(controlId);
    window.m_pDialogWindow = this;
    bound_.push_back(&window);
}

ControlSite* DialogWindow::site(UINT controlId) {
    const auto it = sites_.find(controlId);
    return it == sites_.end() ? nullptr : it->second.get();
}

std::u16string* DialogWindow::itemText(UINT controlId) {
    const auto it = texts_.find(controlId);
    return it == texts_.end() ? nullptr : &it->second;
}

}  // namespace afx

void AfxEnableControlContainer() { afx::containerEnabled = true; }
