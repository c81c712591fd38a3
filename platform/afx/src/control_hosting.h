// What both backends do with a hosted control apart from showing it: make
// it from the class ID of a template item, hand it its saved state, and
// connect its events to the dialog's event-sink map.
#pragma once

#include <afxwin.h>
#include <platform/com_ptr.h>

#include <string>
#include <vector>

namespace afx {

// The control a template item's class text ("{...}") names; empty when the
// text is no class ID or the control cannot be made.
platform::ComPtr<IUnknown> createHostedControl(const std::u16string& classText);

// Hands the control its saved state through IPersistStreamInit, or starts
// it afresh when there is none. True when the control keeps no state or
// took what it was given.
bool loadHostedState(IUnknown* control, const std::vector<BYTE>* savedState);

// A control's events advised to its dialog's sink map while connected.
class EventConnection {
public:
    EventConnection() = default;
    ~EventConnection() { disconnect(); }
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;

    // Connects when the control names its event interface and has a
    // connection point for it; a control without one fires nothing.
    void connect(IUnknown* control, CDialog& dialog, UINT controlId);
    void disconnect();

private:
    platform::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace afx
