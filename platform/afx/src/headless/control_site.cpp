#include "control_site.h"

#include <winplatform/headless_input.h>

namespace afx {

std::unique_ptr<ControlSite> ControlSite::create(const std::u16string& classText, UINT controlId,
                                                 const std::vector<BYTE>* savedState, CDialog& dialog) {
    IUnknown* unknown = createHostedControl(classText);
    if (unknown == nullptr) return nullptr;
    std::unique_ptr<ControlSite> site(new ControlSite(unknown, controlId));
    // This backend shows no window: a control that refuses its state is
    // kept as it starts.
    loadHostedState(unknown, savedState);
    site->events_.connect(unknown, dialog, controlId);
    return site;
}

bool ControlSite::deliverInput(const std::string& payload) {
    winplatform::IHeadlessInput* input = nullptr;
    if (FAILED(unknown_->QueryInterface(winplatform::IID_IHeadlessInput, reinterpret_cast<void**>(&input)))) return false;
    const HRESULT status = input->DeliverInput(payload.data(), static_cast<ULONG>(payload.size()));
    input->Release();
    return SUCCEEDED(status);
}

ControlSite::~ControlSite() {
    events_.disconnect();
    unknown_->Release();
}

}  // namespace afx
