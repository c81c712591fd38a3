// A hosted control on a real dialog: made by class ID, given its saved
// state, placed in-place in the dialog when it is an OLE object (a
// windowless control is reached through IDispatch only), its events
// connected to the dialog's sink map; taken down, events first, when the
// dialog window goes.
#pragma once

#include "control_hosting.h"

#include <afxwin.h>

#include <memory>
#include <string>
#include <vector>

namespace afx {

class ContainerSite;

// The message with which a dialog's initialisation data hands a control
// its saved state.
inline constexpr WORD kLoadFromStream = 0x0376;

class ControlSite {
public:
    // Nothing when the control cannot be created or activated.
    static std::unique_ptr<ControlSite> create(const std::u16string& classText, UINT controlId,
                                               const std::vector<BYTE>* savedState, CDialog& dialog, HWND parent,
                                               const RECT& bounds);
    ~ControlSite();
    ControlSite(const ControlSite&) = delete;
    ControlSite& operator=(const ControlSite&) = delete;

    IUnknown* unknown() const { return unknown_; }
    UINT controlId() const { return controlId_; }

private:
    ControlSite(IUnknown* unknown, UINT controlId) : unknown_(unknown), controlId_(controlId) {}
    bool activate(HWND parent, const RECT& bounds);

    IUnknown* unknown_;
    UINT controlId_;
    IOleObject* oleObject_ = nullptr;
    ContainerSite* container_ = nullptr;
    EventConnection events_;
};

}  // namespace afx
