#include "ole_fake_control.h"

#include "FakeComParts.h"
#include "capture/SigPlusMembers.h"

#include <ocidl.h>
#include <olectl.h>

#include <memory>

namespace {

// The control's event interface: the container learns it from
// IProvideClassInfo2 and finds its connection point by it.
constexpr IID kEventsIid = {0x5A1E7E57, 0x0F1B, 0x4C2D, {0x9E, 0x31, 0x6B, 0x0A, 0x2D, 0x44, 0x17, 0x90}};

class OleFake;
OleFake* windowlessControl = nullptr;

// The one connection point, for kEventsIid; one sink at a time.
class EventPoint final : public IConnectionPoint {
public:
    EventPoint(OleFake& control, int& advised) : control_(control), sink_(IID_IDispatch, 1, advised) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        *iid = kEventsIid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override { return sink_.advise(sink, cookie); }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override { return sink_.unadvise(cookie); }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    void fire(DISPID event) { sink_.fire(event); }

private:
    OleFake& control_;
    testsupport::OneSinkConnection sink_;
};

class OleFake final : public FakeControlExtension,
                      public IOleObject,
                      public IOleInPlaceObject,
                      public IPersistStreamInit,
                      public IProvideClassInfo2,
                      public IConnectionPointContainer {
public:
    OleFake(IDispatch* control, FakeControlScript& script, std::vector<std::string>& calls, OleFakeRecord& record)
        : control_(control), script_(script), calls_(calls), record_(record) {
        if (record.windowless) windowlessControl = this;
    }
    ~OleFake() override {
        if (windowlessControl == this) windowlessControl = nullptr;
        if (record_.window != nullptr && IsWindow(record_.window)) DestroyWindow(record_.window);
        if (inPlaceSite_ != nullptr) inPlaceSite_->Release();
        if (clientSite_ != nullptr) clientSite_->Release();
    }

    void* find(REFIID riid) override {
        if (record_.windowless && (riid == IID_IOleObject || riid == IID_IOleInPlaceObject || riid == IID_IOleWindow)) {
            return nullptr;
        }
        if (riid == IID_IOleObject) return static_cast<IOleObject*>(this);
        if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow) return static_cast<IOleInPlaceObject*>(this);
        if (riid == IID_IPersistStreamInit || riid == IID_IPersist) return static_cast<IPersistStreamInit*>(this);
        if (riid == IID_IProvideClassInfo2 || riid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo2*>(this);
        if (riid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
        return nullptr;
    }

    // Identity and lifetime are the recording control's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return control_->QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return control_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return control_->Release(); }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        if (site != nullptr) site->AddRef();
        if (clientSite_ != nullptr) clientSite_->Release();
        clientSite_ = site;
        record_.hadClientSite = record_.hadClientSite || site != nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
        *site = clientSite_;
        if (clientSite_ != nullptr) clientSite_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { return InPlaceDeactivate(); }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                     LPCRECT position) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
        *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = record_.window;
        return record_.window != nullptr ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
        if (inPlaceSite_ == nullptr) return S_OK;
        DestroyWindow(record_.window);
        inPlaceSite_->OnInPlaceDeactivate();
        inPlaceSite_->Release();
        inPlaceSite_ = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT) override {
        return MoveWindow(record_.window, position->left, position->top, position->right - position->left,
                          position->bottom - position->top, TRUE)
                   ? S_OK
                   : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IPersist, IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
        *clsid = zera::sigplus::kClassId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override {
        const std::vector<BYTE> bytes = testsupport::readWholeStream(stream);
        record_.savedState.insert(record_.savedState.end(), bytes.begin(), bytes.end());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override {
        return testsupport::sourceInterfaceOf(kind, kEventsIid, guid);
    }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
        return testsupport::onlyConnectionPoint(riid, kEventsIid, &points_, point);
    }

    // The pad touched: the hot spot it answers for, then PenDown to the sink.
    void touch(int hotSpot) {
        script_.touchedHotSpot = hotSpot;
        calls_.push_back("event PenDown");
        points_.fire(zera::sigplus::kPenDownEvent);
    }

    OleFakeRecord& record() { return record_; }

private:
    IDispatch* control_;
    FakeControlScript& script_;
    std::vector<std::string>& calls_;
    OleFakeRecord& record_;
    IOleClientSite* clientSite_ = nullptr;
    IOleInPlaceSite* inPlaceSite_ = nullptr;
    EventPoint points_{*this, record_.advised};
};

HRESULT EventPoint::QueryInterface(REFIID riid, void** object) {
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}
ULONG EventPoint::AddRef() { return static_cast<IOleObject&>(control_).AddRef(); }
ULONG EventPoint::Release() { return static_cast<IOleObject&>(control_).Release(); }
HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    *container = &control_;
    AddRef();
    return S_OK;
}
LRESULT CALLBACK controlWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kOleFakeTouch) {
        if (auto* control = reinterpret_cast<OleFake*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            control->record().idWhenTouched = GetDlgCtrlID(window);
            control->touch(static_cast<int>(wParam));
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HRESULT OleFake::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position) {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW) return OLEOBJ_E_INVALIDVERB;
    if (inPlaceSite_ != nullptr) return S_OK;
    if (site == nullptr || FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite_)))) {
        return E_NOINTERFACE;
    }
    if (inPlaceSite_->CanInPlaceActivate() != S_OK || FAILED(inPlaceSite_->OnInPlaceActivate())) return E_FAIL;
    HWND siteWindow = nullptr;
    inPlaceSite_->GetWindow(&siteWindow);
    static const ATOM registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &controlWindow;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kOleFakeWindowClass;
        return RegisterClassW(&windowClass);
    }();
    if (registered == 0) return E_FAIL;
    record_.parent = parent;
    record_.position = *position;
    record_.window = CreateWindowExW(0, kOleFakeWindowClass, L"", WS_CHILD | WS_VISIBLE, position->left,
                                     position->top, position->right - position->left,
                                     position->bottom - position->top, siteWindow, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    if (record_.window == nullptr) return E_FAIL;
    SetWindowLongPtrW(record_.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    GetWindowRect(record_.window, &record_.windowRect);
    MapWindowPoints(nullptr, siteWindow, reinterpret_cast<POINT*>(&record_.windowRect), 2);
    if (record_.activated) record_.activated(record_.window);
    return S_OK;
}

}  // namespace

bool touchWindowlessControl(int hotSpot) {
    if (windowlessControl == nullptr) return false;
    windowlessControl->touch(hotSpot);
    return true;
}

void makeOleControl(FakeControlScript& script, OleFakeRecord& record) {
    script.extender = [&record](IDispatch* control, FakeControlScript& owner, std::vector<std::string>& calls) {
        return new OleFake(control, owner, calls, record);
    };
}
