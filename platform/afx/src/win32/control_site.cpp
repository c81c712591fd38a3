#include "control_site.h"

#include "ole_container.h"

#include <platform/wide_text.h>
#include <shlwapi.h>

namespace afx {
namespace {

// Receives a control's events and hands them to the dialog's sink map.
class EventSink final : public IDispatch {
public:
    EventSink(CDialog& dialog, UINT controlId, const IID& events)
        : dialog_(dialog), controlId_(controlId), events_(events) {}
    EventSink(const EventSink&) = delete;
    EventSink& operator=(const EventSink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) && !IsEqualIID(riid, events_)) {
            return E_NOINTERFACE;
        }
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count != nullptr) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (result != nullptr) VariantInit(result);
        dialog_.FireEvent(controlId_, member);
        return S_OK;
    }

private:
    ~EventSink() = default;
    ULONG references_ = 1;
    CDialog& dialog_;
    UINT controlId_;
    IID events_;
};

bool classIdOf(const std::u16string& text, CLSID* clsid) {
    return text.size() == 38 && text.front() == u'{' &&
           SUCCEEDED(CLSIDFromString(const_cast<LPOLESTR>(platform::wide(text.c_str())), clsid));
}

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
    CLSID clsid{};
    if (!classIdOf(classText, &clsid)) return nullptr;
    IUnknown* unknown = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                IID_IUnknown, reinterpret_cast<void**>(&unknown))) ||
        unknown == nullptr) {
        return nullptr;
    }
    std::unique_ptr<ControlSite> site(new ControlSite(unknown, controlId));
    // A control that asks for its site first gets it before its state.
    DWORD status = 0;
    if (SUCCEEDED(unknown->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&site->oleObject_)))) {
        site->container_ = new ContainerSite(parent, bounds);
        site->oleObject_->GetMiscStatus(DVASPECT_CONTENT, &status);
        if ((status & OLEMISC_SETCLIENTSITEFIRST) != 0) site->oleObject_->SetClientSite(site->container_);
    }
    if (!site->loadState(savedState)) return nullptr;
    if (site->oleObject_ != nullptr && !site->activate(parent, bounds)) return nullptr;
    site->connectEvents(dialog);
    return site;
}

bool ControlSite::loadState(const std::vector<BYTE>* savedState) {
    IPersistStreamInit* persist = nullptr;
    if (FAILED(unknown_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) return true;
    HRESULT loaded = E_OUTOFMEMORY;
    if (savedState == nullptr) {
        loaded = persist->InitNew();
    } else if (IStream* stream = SHCreateMemStream(savedState->data(), static_cast<UINT>(savedState->size()))) {
        loaded = persist->Load(stream);
        stream->Release();
    }
    persist->Release();
    return SUCCEEDED(loaded);
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

void ControlSite::connectEvents(CDialog& dialog) {
    // The control names its event interface; without one it fires nothing.
    IProvideClassInfo2* info = nullptr;
    IID events{};
    const bool named = SUCCEEDED(unknown_->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&info))) &&
                       SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
    if (info != nullptr) info->Release();
    if (!named) return;

    IConnectionPointContainer* points = nullptr;
    if (FAILED(unknown_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)))) return;
    const HRESULT found = points->FindConnectionPoint(events, &eventPoint_);
    points->Release();
    if (FAILED(found) || eventPoint_ == nullptr) {
        eventPoint_ = nullptr;
        return;
    }
    auto* sink = new EventSink(dialog, controlId_, events);
    if (FAILED(eventPoint_->Advise(sink, &eventCookie_))) {
        eventPoint_->Release();
        eventPoint_ = nullptr;
    }
    sink->Release();  // the connection point holds it while advised
}

ControlSite::~ControlSite() {
    if (eventPoint_ != nullptr) {
        eventPoint_->Unadvise(eventCookie_);
        eventPoint_->Release();
    }
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
