// The window of a running dialog, made from its template: the items the
// handlers reach by control ID, and the hosted controls.
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

    // Makes the items of the template; false when a hosted control cannot
    // be created (or control hosting was never enabled).
    bool create(const DialogTemplate& layout, const std::vector<DialogInitEntry>& initialisation, CDialog& dialog);

    ControlSite* site(UINT controlId);
    // Makes a window object stand for the item; undone when the window goes.
    void bind(CWnd& window, UINT controlId);
    std::u16string* itemText(UINT controlId);

private:
    std::map<UINT, std::u16string> texts_;
    std::map<UINT, std::unique_ptr<ControlSite>> sites_;
    std::vector<CWnd*> bound_;
    bool comInitialised_ = false;
};

bool controlContainerEnabled();

}  // namespace afx
