#include <afxwin.h>

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    HINSTANCE resources = AfxGetResourceHandle();
    HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(m_nIDHelp), RT_DIALOG);
    if (found == nullptr || LoadResource(resources, found) == nullptr) return -1;
    // Showing a dialog needs a window backend; without one the run cannot
    // start, which the caller sees as the same failure as a missing layout.
    return -1;
}

void DDX_Text(CDataExchange*, int, std::u16string&) {
    // Exchange with a control happens only while a dialog window exists.
}
