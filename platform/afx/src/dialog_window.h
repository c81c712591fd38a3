// The window of a running dialog without a screen, made from its template:
// the items the handlers reach by control ID and the hosted controls; input
// comes from the process's input source.
#pragma once

#include "control_site.h"
#include "dialog_items.h"

#include <afxtemplate.h>
#include <afxwin.h>
#include <platform/com_init.h>

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

    // Initialises the dialog and hands it input until it ends; its result.
    INT_PTR runModal(CDialog& dialog, const DialogTemplate& layout);
    // The dialog ends once the handler that ended it returns.
    void end(int) {}

    ControlSite* site(UINT controlId) const { return items_.site(controlId); }
    // Makes a window object stand for the item; undone when the window goes.
    void bind(CWnd& window, UINT controlId) { items_.bind(window, controlId, this); }
    // Moves an item's text to `value` (save) or from it.
    void exchangeText(UINT controlId, std::u16string& value, bool save);

private:
    void dispatchInput(CDialog& dialog);

    // Declared first, so that the controls go before COM does.
    platform::ScopedComInit com_;
    std::map<UINT, std::u16string> texts_;
    DialogItems items_;
};

bool controlContainerEnabled();

}  // namespace afx
