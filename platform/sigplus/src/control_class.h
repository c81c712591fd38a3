// The control object behind CLSID_SigPlus: its COM interfaces over its
// members. Dispatch calls go through the plumbing of dispatch.h, except the
// one call a render makes per image byte, which goes straight to its member
// (control_object.cpp); persistence is in control_persistence.cpp, pen
// input and events in control_events.cpp.
#pragma once

#include "control_members.h"
#include "event_point.h"

#include <objidl.h>
#include <ocidl.h>
#include <winplatform/com_object.h>
#include <winplatform/headless_input.h>

namespace sigplus {

class Control final : public winplatform::ComObject<IDispatch, ISigPlusControl, IPersistStreamInit,
                                                    IProvideClassInfo2, IConnectionPointContainer,
                                                    winplatform::IHeadlessInput> {
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

    // Pen input from the input source: one pen record per pen-down.
    HRESULT STDMETHODCALLTYPE DeliverInput(const char* payload, ULONG length) override;

private:
    ~Control() override;

    void firePenDown();

    const ULONG number_;
    ControlMembers members_;
    SavedState state_;
    EventPoint events_{*static_cast<IDispatch*>(this), *this, DIID_SigPlusEvents};
};

// The state a container hands over for a control of the dialog's size when
// it has none of its own.
SavedState defaultState();

}  // namespace sigplus
