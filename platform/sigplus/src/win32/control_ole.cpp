// The control as an ActiveX control: a container gives it a site, activates
// it in place in the site's window, moves it, and deactivates and closes it.
#include "../control_class.h"

#include <olectl.h>

namespace sigplus {

void Control::inkChanged() { window_.invalidate(); }

HRESULT Control::SetClientSite(IOleClientSite* site) {
    clientSite_ = platform::ComPtr<IOleClientSite>::hold(site);
    return S_OK;
}

HRESULT Control::GetClientSite(IOleClientSite** site) {
    if (site == nullptr) return E_POINTER;
    *site = platform::ComPtr<IOleClientSite>(clientSite_).detach();
    return S_OK;
}

HRESULT Control::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT Control::GetClipboardData(DWORD, IDataObject** data) {
    if (data != nullptr) *data = nullptr;
    return E_NOTIMPL;
}

HRESULT Control::EnumVerbs(IEnumOLEVERB** verbs) {
    if (verbs != nullptr) *verbs = nullptr;
    return E_NOTIMPL;
}

HRESULT Control::GetUserType(DWORD, LPOLESTR* type) {
    if (type != nullptr) *type = nullptr;
    return OLE_S_USEREG;
}

HRESULT Control::SetExtent(DWORD aspect, SIZEL* extent) {
    if (extent == nullptr) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    extent_ = *extent;
    return S_OK;
}

// What the container set, else the saved state's extent.
HRESULT Control::GetExtent(DWORD aspect, SIZEL* extent) {
    if (extent == nullptr) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *extent = extent_.cx > 0 && extent_.cy > 0 ? extent_ : SIZEL{state_.extentX, state_.extentY};
    return S_OK;
}

HRESULT Control::Advise(IAdviseSink*, DWORD* connection) {
    if (connection != nullptr) *connection = 0;
    return E_NOTIMPL;
}

HRESULT Control::EnumAdvise(IEnumSTATDATA** advise) {
    if (advise != nullptr) *advise = nullptr;
    return E_NOTIMPL;
}

HRESULT Control::GetMiscStatus(DWORD, DWORD* status) {
    if (status == nullptr) return E_POINTER;
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE |
              OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE;
    return S_OK;
}

// The window is a child of the site's window, where the container wants it.
HRESULT Control::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT position) {
    switch (verb) {
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_SHOW:
    case OLEIVERB_PRIMARY: break;
    case OLEIVERB_HIDE:
        if (window_.handle() != nullptr) ShowWindow(window_.handle(), SW_HIDE);
        return S_OK;
    default: return OLEOBJ_S_INVALIDVERB;
    }
    if (window_.handle() != nullptr) {
        ShowWindow(window_.handle(), SW_SHOW);
        return S_OK;
    }
    if (site == nullptr) site = clientSite_.get();
    auto inPlace = platform::queryInterface<IOleInPlaceSite>(site, IID_IOleInPlaceSite);
    if (!inPlace) return E_NOINTERFACE;
    HWND siteWindow = nullptr;
    if (inPlace->CanInPlaceActivate() != S_OK || FAILED(inPlace->GetWindow(&siteWindow)) || siteWindow == nullptr) {
        return E_FAIL;
    }
    const RECT bounds = position != nullptr ? *position : RECT{};
    if (FAILED(inPlace->OnInPlaceActivate())) return E_FAIL;
    if (!window_.create(siteWindow, bounds)) {
        inPlace->OnInPlaceDeactivate();
        return E_FAIL;
    }
    inPlaceSite_ = std::move(inPlace);
    return S_OK;
}

HRESULT Control::GetWindow(HWND* window) {
    if (window == nullptr) return E_POINTER;
    *window = window_.handle();
    return *window != nullptr ? S_OK : E_FAIL;
}

HRESULT Control::InPlaceDeactivate() {
    window_.destroy();
    // Let go of first: the site may call back while it hears of it.
    const platform::ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
    if (site) site->OnInPlaceDeactivate();
    return S_OK;
}

HRESULT Control::SetObjectRects(LPCRECT position, LPCRECT) {
    if (position == nullptr) return E_POINTER;
    return window_.move(*position) ? S_OK : E_FAIL;
}

}  // namespace sigplus
