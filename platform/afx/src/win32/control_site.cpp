#include "control_site.h"

#include "ole_container.h"

#include <platform/window_dc.h>

namespace afx {
namespace {

// Pixels to the HIMETRIC units an OLE object's extent is given in.
SIZEL extentOf(HWND window, const RECT& bounds) {
    const platform::WindowDc screen(window);
    const int dpiX = screen.get() != nullptr ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    const int dpiY = screen.get() != nullptr ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return {MulDiv(bounds.right - bounds.left, 2540, dpiX), MulDiv(bounds.bottom - bounds.top, 2540, dpiY)};
}

}  // namespace

std::unique_ptr<ControlSite> ControlSite::create(const std::u16string& classText, UINT controlId,
                                                 const std::vector<BYTE>* savedState, CDialog& dialog, HWND parent,
                                                 const RECT& bounds) {
    platform::ComPtr<IUnknown> unknown = createHostedControl(classText);
    if (!unknown) return nullptr;
    std::unique_ptr<ControlSite> site(new ControlSite(std::move(unknown), controlId));
    // A control that asks for its site first gets it before its state.
    site->oleObject_ = site->unknown_.query<IOleObject>(IID_IOleObject);
    if (site->oleObject_) {
        site->container_ = platform::ComPtr<ContainerSite>::adopt(new ContainerSite(parent, bounds));
        DWORD status = 0;
        site->oleObject_->GetMiscStatus(DVASPECT_CONTENT, &status);
        if ((status & OLEMISC_SETCLIENTSITEFIRST) != 0) site->oleObject_->SetClientSite(site->container_.get());
    }
    if (!loadHostedState(site->unknown(), savedState)) return nullptr;
    if (site->oleObject_ && !site->activate(parent, bounds)) return nullptr;
    site->events_.connect(site->unknown(), dialog, controlId);
    return site;
}

bool ControlSite::activate(HWND parent, const RECT& bounds) {
    oleObject_->SetClientSite(container_.get());
    SIZEL extent = extentOf(parent, bounds);
    oleObject_->SetExtent(DVASPECT_CONTENT, &extent);
    RECT position = bounds;
    if (FAILED(oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, container_.get(), 0, parent, &position))) {
        return false;
    }
    // The control's window answers to its dialog ID, as the template's own
    // items do, so that GetDlgItem finds it.
    HWND window = nullptr;
    if (const auto inPlace = oleObject_.query<IOleInPlaceObject>(IID_IOleInPlaceObject);
        inPlace && SUCCEEDED(inPlace->GetWindow(&window)) && window != nullptr) {
        SetWindowLongPtrW(window, GWLP_ID, static_cast<LONG_PTR>(controlId_));
    }
    return true;
}

ControlSite::~ControlSite() {
    events_.disconnect();
    if (!oleObject_) return;
    if (const auto inPlace = oleObject_.query<IOleInPlaceObject>(IID_IOleInPlaceObject)) inPlace->InPlaceDeactivate();
    oleObject_->Close(OLECLOSE_NOSAVE);
    oleObject_->SetClientSite(nullptr);
}

}  // namespace afx
