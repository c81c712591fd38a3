// The window of a running dialog on Win32: the dialog manager makes the
// template's ordinary items from a copy without the hosted controls, the
// framework makes those controls in their places, and the dialog procedure
// hands commands to the dialog's message map.
#pragma once

#include "control_site.h"

#include <afxtemplate.h>
#include <afxwin.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace afx {

class DialogWindow {
public:
    DialogWindow();
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Keeps what the window is made from; false when the template hosts
    // controls and control hosting was never enabled.
    bool create(const DialogTemplate& layout, const std::vector<DialogInitEntry>& initialisation, CDialog& dialog);
    // Shows the dialog modally until it ends; its result, -1 when its window
    // or one of its controls cannot be made.
    INT_PTR runModal(CDialog& dialog, const DialogTemplate& layout);
    void end(int result);

    ControlSite* site(UINT controlId);
    void bind(CWnd& window, UINT controlId);
    void exchangeText(UINT controlId, std::u16string& value, bool save);

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL initialise(HWND window);
    void command(UINT id, UINT code);
    void releaseControls();

    CDialog* dialog_ = nullptr;
    const DialogTemplate* layout_ = nullptr;
    const std::vector<DialogInitEntry>* initialisation_ = nullptr;
    HWND window_ = nullptr;
    std::map<UINT, std::unique_ptr<ControlSite>> sites_;
    std::vector<CWnd*> bound_;
    bool oleInitialised_ = false;
};

bool controlContainerEnabled();

}  // namespace afx
