// A hosted control: made by class ID, given its saved state, connected to
// the dialog's event sink; released, sink first, when the window goes.
#pragma once

#include "control_hosting.h"

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
    // Nothing when the class text is no class ID or the control cannot be
    // created.
    static std::unique_ptr<ControlSite> create(const std::u16string& classText, UINT controlId,
                                               const std::vector<BYTE>* savedState, CDialog& dialog);
    ~ControlSite() = default;
    ControlSite(const ControlSite&) = delete;
    ControlSite& operator=(const ControlSite&) = delete;

    IUnknown* unknown() const { return unknown_.get(); }
    UINT controlId() const { return controlId_; }
    // Hands input from the input source to the control; false if the
    // control takes none.
    bool deliverInput(const std::string& payload);

private:
    ControlSite(platform::ComPtr<IUnknown> unknown, UINT controlId)
        : unknown_(std::move(unknown)), controlId_(controlId) {}
    platform::ComPtr<IUnknown> unknown_;
    UINT controlId_;
    // Declared after the control, so that the events go first.
    EventConnection events_;
};

}  // namespace afx
