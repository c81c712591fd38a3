// The backend of this system: its folder comes first on the include path.
#include <dialog_window.h>
#include "guarded.h"

#include <afxtemplate.h>
#include <afxwin.h>
#include <platform/wide_text.h>

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

void showErrorBox(const char16_t* text) {
    MessageBoxW(nullptr, platform::wide(text), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

namespace afx {

void runGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const CException& e) {
        showErrorBox(e.ErrorMessage().c_str());
    } catch (const std::bad_alloc&) {
        showErrorBox(u"Out of memory.");
    } catch (const std::exception&) {
        showErrorBox(u"An unsupported operation was attempted.");
    }
}

}  // namespace afx

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
    if (m_pDialogWindow != nullptr) m_pDialogWindow->end(result);
}

void CDialog::RunHandler(void (CCmdTarget::*handler)()) {
    afx::runGuarded([&] { (this->*handler)(); });
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
    const INT_PTR result = window.runModal(*this, *layout);
    m_pDialogWindow = nullptr;
    return result;
}

void DDX_Control(CDataExchange* exchange, int controlId, CWnd& control) {
    if (control.m_pCtrlSite != nullptr) return;
    afx::DialogWindow* window = exchange->m_pDlgWnd->m_pDialogWindow;
    if (window == nullptr) return;
    window->bind(control, static_cast<UINT>(controlId));
}

void DDX_Text(CDataExchange* exchange, int controlId, std::u16string& value) {
    afx::DialogWindow* window = exchange->m_pDlgWnd->m_pDialogWindow;
    if (window != nullptr) window->exchangeText(static_cast<UINT>(controlId), value, exchange->m_bSaveAndValidate != FALSE);
}
