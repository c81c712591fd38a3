#include "control_site.h"

#include <winplatform/headless_input.h>

namespace afx {

std::unique_ptr<ControlSite> ControlSite::create(const std::u16string& classText, UINT controlId,
                                                 const std::vector<BYTE>* savedState, CDialog& dialog) {
    platform::ComPtr<IUnknown> unknown = createHostedControl(classText);
    if (!unknown) return nullptr;
    std::unique_ptr<ControlSite> site(new ControlSite(std::move(unknown), controlId));
    // This backend shows no window: a control that refuses its state is
    // kept as it starts.
    loadHostedState(site->unknown(), savedState);
    site->events_.connect(site->unknown(), dialog, controlId);
    return site;
}

bool ControlSite::deliverInput(const std::string& payload) {
    const auto input = unknown_.query<winplatform::IHeadlessInput>(winplatform::IID_IHeadlessInput);
    return input && SUCCEEDED(input->DeliverInput(payload.data(), static_cast<ULONG>(payload.size())));
}

}  // namespace afx
