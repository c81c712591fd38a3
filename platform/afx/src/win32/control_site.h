// A hosted control on a real dialog: made by class ID, given its saved
// state, placed in-place in the dialog when it is an OLE object (a
// windowless control is reached through IDispatch only), its events
// connected to the dialog's sink map; taken down, events first, when the
// dialog window goes.
#pragma once

#include "control_hosting.h"
#include "ole_container.h"

#include <afxwin.h>

#include <memory>
#include <string>
#include <vector>

namespace afx {

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

    IUnknown* unknown() const { return unknown_.get(); }
    UINT controlId() const { return controlId_; }

private:
    ControlSite(platform::ComPtr<IUnknown> unknown, UINT controlId)
        : unknown_(std::move(unknown)), controlId_(controlId) {}
    bool activate(HWND parent, const RECT& bounds);

    // Released in the reverse order: the events, the OLE object, its site,
    // and the control last.
    platform::ComPtr<IUnknown> unknown_;
    UINT controlId_;
    platform::ComPtr<ContainerSite> container_;
    platform::ComPtr<IOleObject> oleObject_;
    EventConnection events_;
};

}  // namespace afx
