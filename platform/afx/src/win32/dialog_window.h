// The window of a running dialog on Win32: the dialog manager makes the
// template's ordinary items from a copy without the hosted controls, the
// framework makes those controls in their places, and the dialog procedure
// hands commands to the dialog's message map.
#pragma once

#include "control_site.h"
#include "dialog_items.h"

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

    ControlSite* site(UINT controlId) const { return items_.site(controlId); }
    // Makes a window object stand for the item; undone when the window goes.
    void bind(CWnd& window, UINT controlId) { items_.bind(window, controlId, this); }
    void exchangeText(UINT controlId, std::u16string& value, bool save);

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL initialise(HWND window);
    void command(UINT id, UINT code);

    CDialog* dialog_ = nullptr;
    const DialogTemplate* layout_ = nullptr;
    const std::vector<DialogInitEntry>* initialisation_ = nullptr;
    HWND window_ = nullptr;
    DialogItems items_;
    bool oleInitialised_ = false;
};

bool controlContainerEnabled();

}  // namespace afx
