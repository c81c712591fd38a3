#include "dialog_window.h"

#include <afxtemplate.h>
#include <afxwin.h>
#include <winplatform/headless_input.h>

#include <new>

namespace {

std::span<const BYTE> resourceBytes(HINSTANCE module, UINT id, LPCWSTR type) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) return {};
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    if (bytes == nullptr) return {};
    return {bytes, SizeofResource(module, found)};
}

const AFX_EVENTSINKMAP* noBaseSinkMap() { return nullptr; }
const AFX_EVENTSINKMAP_ENTRY noSinkEntries[] = {{0, 0, nullptr}};
const AFX_EVENTSINKMAP rootSinkMap = {&noBaseSinkMap, &noSinkEntries[0]};

// What the framework does with an exception out of a message handler: an
// error box, and the dialog goes on.
template <typename Handler>
void runGuarded(Handler&& handler) {
    try {
        handler();
    } catch (const CException& e) {
        MessageBoxW(nullptr, e.ErrorMessage().c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
    } catch (const std::bad_alloc&) {
        MessageBoxW(nullptr, u"Out of memory.", nullptr, MB_OK | MB_ICONEXCLAMATION);
    } catch (const std::exception&) {
        MessageBoxW(nullptr, u"An unsupported operation was attempted.", nullptr, MB_OK | MB_ICONEXCLAMATION);
    }
}

}  // namespace

std::u16string COleDispatchException::ErrorMessage() const {
    if (!m_strDescription.empty()) return m_strDescription;
    return u"The control reported an error.";
}

void AfxThrowOleDispatchException(HRESULT status, const std::u16string& description) {
    throw COleDispatchException(status, description);
}

void AfxThrowMemoryException() { throw CMemoryException(); }

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

IUnknown* CWnd::GetControlUnknown() const { return m_pCtrlSite != nullptr ? m_pCtrlSite->unknown() : nullptr; }

const AFX_EVENTSINKMAP* CWnd::GetThisEventSinkMap() { return &rootSinkMap; }
const AFX_EVENTSINKMAP* CWnd::GetEventSinkMap() const { return GetThisEventSinkMap(); }

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) {
    m_ended = true;
    m_result = result;
}

void CDialog::RunHandler(void (CCmdTarget::*handler)()) {
    runGuarded([&] { (this->*handler)(); });
}

void CDialog::FireEvent(UINT controlId, DISPID dispid) {
    for (const AFX_EVENTSINKMAP* map = GetEventSinkMap(); map != nullptr; map = map->pfnGetBaseMap()) {
        for (const AFX_EVENTSINKMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry) {
            if (entry->controlId == controlId && entry->dispid == dispid) {
                RunHandler(entry->pfn);
                return;
            }
        }
    }
}

void CDialog::dispatchInput() {
    using winplatform::InputEvent;
    const auto event = winplatform::nextInputEvent();
    if (!event || event->kind == InputEvent::Kind::Close) {
        runGuarded([this] { OnCancel(); });
        // With no input left the dialog must not stay open, whatever the
        // handler did.
        if (!event && !m_ended) EndDialog(IDCANCEL);
        return;
    }
    switch (event->kind) {
        case InputEvent::Kind::Key:
            if (event->key == winplatform::VK_RETURN) runGuarded([this] { OnOK(); });
            if (event->key == winplatform::VK_ESCAPE) runGuarded([this] { OnCancel(); });
            return;
        case InputEvent::Kind::Click:
            if (event->controlId == IDOK) {
                runGuarded([this] { OnOK(); });
            } else if (event->controlId == IDCANCEL) {
                runGuarded([this] { OnCancel(); });
            } else if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, BN_CLICKED, event->controlId)) {
                RunHandler(entry->pfn);
            }
            return;
        case InputEvent::Kind::ControlInput:
            if (afx::ControlSite* site = m_pDialogWindow->site(event->controlId)) site->deliverInput(event->payload);
            return;
        case InputEvent::Kind::Close: return;
    }
}

INT_PTR CDialog::DoModal() {
    HINSTANCE resources = AfxGetResourceHandle();
    const auto layout = afx::parseDialogTemplate(resourceBytes(resources, m_nIDHelp, RT_DIALOG));
    if (!layout) return -1;
    std::vector<afx::DialogInitEntry> initialisation;
    if (const auto bytes = resourceBytes(resources, m_nIDHelp, RT_DLGINIT); !bytes.empty()) {
        if (auto entries = afx::parseDialogInit(bytes)) initialisation = std::move(*entries);
    }

    afx::DialogWindow window;
    if (!window.create(*layout, initialisation, *this)) return -1;
    m_pDialogWindow = &window;
    m_ended = false;
    m_result = 0;
    runGuarded([this] { OnInitDialog(); });
    while (!m_ended) dispatchInput();
    m_pDialogWindow = nullptr;
    return m_result;
}

void DDX_Control(CDataExchange* exchange, int controlId, CWnd& control) {
    if (control.m_pCtrlSite != nullptr) return;
    afx::DialogWindow* window = exchange->m_pDlgWnd->m_pDialogWindow;
    if (window == nullptr) return;
    window->bind(control, static_cast<UINT>(controlId));
}

void DDX_Text(CDataExchange* exchange, int controlId, std::u16string& value) {
    afx::DialogWindow* window = exchange->m_pDlgWnd->m_pDialogWindow;
    std::u16string* text = window != nullptr ? window->itemText(static_cast<UINT>(controlId)) : nullptr;
    if (text == nullptr) return;
    if (exchange->m_bSaveAndValidate) {
        value = *text;
    } else {
        *text = value;
    }
}
