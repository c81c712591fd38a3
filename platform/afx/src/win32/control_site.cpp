#include "control_site.h"

#include "ole_container.h"

namespace afx {
namespace {

// Pixels to the HIMETRIC units an OLE object's extent is given in.
SIZEL extentOf(HWND window, const RECT& bounds) {
    HDC screen = GetDC(window);
    const int dpiX = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    const int dpiY = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(window, screen);
    return {MulDiv(bounds.right - bounds.left, 2540, dpiX), MulDiv(bounds.bottom - bounds.top, 2540, dpiY)};
}

}  // namespace

std::unique_ptr<ControlSite> ControlSite::create(const std::u16string& classText, UINT controlId,
                                                 const std::vector<BYTE>* savedState, CDialog& dialog, HWND parent,
                                                 const RECT& bounds) {
    IUnknown* unknown = createHostedControl(classText);
    if (unknown == nullptr) return nullptr;
    std::unique_ptr<ControlSite> site(new ControlSite(unknown, controlId));
    // A control that asks for its site first gets it before its state.
    DWORD status = 0;
    if (SUCCEEDED(unknown->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&site->oleObject_)))) {
        site->container_ = new ContainerSite(parent, bounds);
        site->oleObject_->GetMiscStatus(DVASPECT_CONTENT, &status);
        if ((status & OLEMISC_SETCLIENTSITEFIRST) != 0) site->oleObject_->SetClientSite(site->container_);
    }
    if (!loadHostedState(unknown, savedState)) return nullptr;
    if (site->oleObject_ != nullptr && !site->activate(parent, bounds)) return nullptr;
    site->events_.connect(unknown, dialog, controlId);
    return site;
}

bool ControlSite::activate(HWND parent, const RECT& bounds) {
    oleObject_->SetClientSite(container_);
    SIZEL extent = extentOf(parent, bounds);
    oleObject_->SetExtent(DVASPECT_CONTENT, &extent);
    RECT position = bounds;
    if (FAILED(oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, container_, 0, parent, &position))) return false;
    // The control's window answers to its dialog ID, as the template's own
    // items do, so that GetDlgItem finds it.
    IOleInPlaceObject* inPlace = nullptr;
    if (SUCCEEDED(oleObject_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
        HWND window = nullptr;
        if (SUCCEEDED(inPlace->GetWindow(&window)) && window != nullptr) {
            SetWindowLongPtrW(window, GWLP_ID, static_cast<LONG_PTR>(controlId_));
        }
        inPlace->Release();
    }
    return true;
}

ControlSite::~ControlSite() {
    events_.disconnect();
    if (oleObject_ != nullptr) {
        IOleInPlaceObject* inPlace = nullptr;
        if (SUCCEEDED(oleObject_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
            inPlace->InPlaceDeactivate();
            inPlace->Release();
        }
        oleObject_->Close(OLECLOSE_NOSAVE);
        oleObject_->SetClientSite(nullptr);
        oleObject_->Release();
    }
    if (container_ != nullptr) container_->Release();
    unknown_->Release();
}

}  // namespace afx
