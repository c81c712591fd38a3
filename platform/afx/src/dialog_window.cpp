#include "dialog_window.h"

#include "guarded.h"

#include <winplatform/headless_input.h>

namespace afx {
namespace {

bool containerEnabled = false;

}  // namespace

bool controlContainerEnabled() { return containerEnabled; }

DialogWindow::DialogWindow() = default;

DialogWindow::~DialogWindow() = default;

bool DialogWindow::create(const DialogTemplate& layout, const std::vector<DialogInitEntry>& initialisation,
                          CDialog& dialog) {
    if (!winplatform::hasScreen()) return false;
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
        items_.host(item.id, std::move(site));
    }
    return true;
}

void DialogWindow::exchangeText(UINT controlId, std::u16string& value, bool save) {
    const auto it = texts_.find(controlId);
    if (it == texts_.end()) return;
    if (save) {
        value = it->second;
    } else {
        it->second = value;
    }
}

INT_PTR DialogWindow::runModal(CDialog& dialog, const DialogTemplate&) {
    runGuarded([&dialog] { dialog.OnInitDialog(); });
    while (!dialog.m_ended) dispatchInput(dialog);
    return dialog.m_result;
}

void DialogWindow::dispatchInput(CDialog& dialog) {
    using winplatform::InputEvent;
    const auto event = winplatform::nextInputEvent();
    if (!event || event->kind == InputEvent::Kind::Close) {
        runGuarded([&dialog] { dialog.OnCancel(); });
        // With no input left the dialog must not stay open, whatever the
        // handler did.
        if (!event && !dialog.m_ended) dialog.EndDialog(IDCANCEL);
        return;
    }
    switch (event->kind) {
        case InputEvent::Kind::Key:
            if (event->key == VK_RETURN) runGuarded([&dialog] { dialog.OnOK(); });
            if (event->key == VK_ESCAPE) runGuarded([&dialog] { dialog.OnCancel(); });
            return;
        case InputEvent::Kind::Click:
            if (event->controlId == IDOK) {
                runGuarded([&dialog] { dialog.OnOK(); });
            } else if (event->controlId == IDCANCEL) {
                runGuarded([&dialog] { dialog.OnCancel(); });
            } else if (const AFX_MSGMAP_ENTRY* entry = dialog.FindMessageEntry(WM_COMMAND, BN_CLICKED, event->controlId)) {
                dialog.RunHandler(entry->pfn);
            }
            return;
        case InputEvent::Kind::ControlInput:
            if (ControlSite* target = site(event->controlId)) target->deliverInput(event->payload);
            return;
        case InputEvent::Kind::Close: return;
    }
}

}  // namespace afx

void AfxEnableControlContainer() { afx::containerEnabled = true; }
