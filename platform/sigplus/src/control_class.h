// The control object behind CLSID_SigPlus: its COM interfaces over its
// members. Dispatch calls go through the plumbing of dispatch.h, except the
// one call a render makes per image byte, which goes straight to its member
// (control_object.cpp); persistence is in control_persistence.cpp, pen
// input and events in control_events.cpp. On Windows the control is also an
// ActiveX control with a window of its own (win32/).
#pragma once

#include "control_members.h"
#include "event_point.h"

#include <objidl.h>
#include <ocidl.h>
#include <platform/com_object.h>
#include <platform/com_ptr.h>

#include <string_view>

#ifdef _WIN32
#include "win32/control_window.h"

#include <oleidl.h>
#else
#include <winplatform/headless_input.h>
#endif

namespace sigplus {

#ifdef _WIN32
using ControlBase = platform::ComObject<IDispatch, ISigPlusControl, IPersistStreamInit, IProvideClassInfo2,
                                        IConnectionPointContainer, IOleObject, IOleInPlaceObject>;
#else
// The headless dialog framework hands pen input to the control directly.
using ControlBase = platform::ComObject<IDispatch, ISigPlusControl, IPersistStreamInit, IProvideClassInfo2,
                                        IConnectionPointContainer, winplatform::IHeadlessInput>;
#endif

class Control final : public ControlBase {
public:
    Control();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT nameCount, LCID,
                                            DISPID* dispids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE AddStroke(const Point* points, ULONG count) override;
    HRESULT STDMETHODCALLTYPE GetInk(Ink* ink) override;
    HRESULT STDMETHODCALLTYPE LoadState(const BYTE* bytes, ULONG size) override;
    HRESULT STDMETHODCALLTYPE GetState(SavedState* state) override;
    ULONG STDMETHODCALLTYPE ObjectNumber() override { return number_; }

    // Persistence: the state a container keeps for the control.
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;

    // Events: the container finds the event interface and its point here.
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** typeInfo) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

#ifdef _WIN32
    // In-place activation in a container's window (win32/control_ole.cpp).
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { return InPlaceDeactivate(); }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                     LPCRECT position) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* type) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* extent) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* extent) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return OLE_E_NOCONNECTION; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // What the control's window shows: the saved state's background colour
    // (0x00BBGGRR) and the ink as the pad's ink area maps it.
    COLORREF backColour() const { return static_cast<COLORREF>(state_.backColour & 0x00FFFFFFu); }
    ControlMembers& members() { return members_; }
#else
    // Pen input from the input source: one pen record per pen-down.
    HRESULT STDMETHODCALLTYPE DeliverInput(const char* payload, ULONG length) override {
        if (payload == nullptr) return length > 0 ? E_POINTER : takePenRecord({});
        return takePenRecord(std::string_view(payload, length));
    }
#endif

    // A pad's pen record ("pen T:X,Y ..."): the pen goes down at its first
    // point (touch keys there count), PenDown fires, and its ink is
    // recorded. E_INVALIDARG for anything but a well-formed record.
    HRESULT takePenRecord(std::string_view record);
    // Pen input that reaches no touch key (the mouse on Windows): PenDown
    // when the pen goes down, the ink when it lifts.
    void firePenDown();
    void recordPen(const PenInput& pen);

private:
    ~Control() override;

    // The window shows the ink anew after what may have changed it.
    void inkChanged();

    const ULONG number_;
    ControlMembers members_;
    SavedState state_;
    EventPoint events_{*static_cast<IDispatch*>(this), *this, DIID_SigPlusEvents};
#ifdef _WIN32
    platform::ComPtr<IOleClientSite> clientSite_;
    platform::ComPtr<IOleInPlaceSite> inPlaceSite_;
    SIZEL extent_{};
    ControlWindow window_{*this};
#endif
};

// The state a container hands over for a control of the dialog's size when
// it has none of its own.
SavedState defaultState();

}  // namespace sigplus
