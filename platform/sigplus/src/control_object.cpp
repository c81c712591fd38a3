#include "control_object.h"

#include "control_class.h"
#include "journal_store.h"

#include <platform/wide_text.h>

#include <atomic>
#include <new>
#include <string_view>

namespace sigplus {
namespace {

std::atomic<std::size_t> liveControls{0};
std::atomic<ULONG> objectsMade{0};

// The call a render makes once per image byte, RenderBufferByte(I4) -> I2,
// in the form the binding makes it: anything else (another form, an index
// outside the image, a journal to keep) takes the general path.
bool isPlainByteFetch(DISPID id, REFIID riid, WORD flags, const DISPPARAMS* params, const VARIANT* result) {
    return id == dispid::RenderBufferByte && result != nullptr && params != nullptr && params->cArgs == 1 &&
           params->cNamedArgs == 0 && params->rgvarg != nullptr && params->rgvarg[0].vt == VT_I4 &&
           (flags & DISPATCH_METHOD) != 0 && (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) == 0 &&
           riid == IID_NULL && !journalling();
}

// The members after which the ink may be another.
bool changesInk(DISPID id) {
    return id == dispid::ClearInk || id == dispid::PadReset || id == dispid::SignatureText;
}

}  // namespace

Control::Control() : number_(++objectsMade), state_(defaultState()) { liveControls.fetch_add(1); }

Control::~Control() {
#ifdef _WIN32
    // A container lets go of an active control by Close; one that did not
    // still loses the window and gets its sites back.
    InPlaceDeactivate();
    SetClientSite(nullptr);
#endif
    liveControls.fetch_sub(1);
}

HRESULT Control::QueryInterface(REFIID riid, void** object) {
    IDispatch* dispatch = this;
    IPersistStreamInit* persist = this;
    IProvideClassInfo2* info = this;
    return platform::answerQuery(dispatch, riid, object,
                                    {{IID_IDispatch, dispatch},
                                     {DIID_SigPlus, dispatch},
                                     {IID_ISigPlusControl, static_cast<ISigPlusControl*>(this)},
                                     {IID_IPersist, persist},
                                     {IID_IPersistStreamInit, persist},
                                     {IID_IProvideClassInfo, info},
                                     {IID_IProvideClassInfo2, info},
                                     {IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)},
#ifdef _WIN32
                                     {IID_IOleObject, static_cast<IOleObject*>(this)},
                                     {IID_IOleWindow, static_cast<IOleInPlaceObject*>(this)},
                                     {IID_IOleInPlaceObject, static_cast<IOleInPlaceObject*>(this)},
#else
                                     {winplatform::IID_IHeadlessInput, static_cast<winplatform::IHeadlessInput*>(this)},
#endif
                                 });
}

HRESULT Control::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT Control::GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) {
    if (typeInfo != nullptr) *typeInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT Control::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT nameCount, LCID, DISPID* dispids) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (names == nullptr || dispids == nullptr || nameCount == 0) return E_INVALIDARG;
    const std::u16string_view name =
        names[0] == nullptr ? std::u16string_view() : std::u16string_view(platform::utf16(names[0]));
    const Member* member = findMember(name);
    dispids[0] = member != nullptr ? member->id : DISPID_UNKNOWN;
    // The members take no named arguments.
    for (UINT i = 1; i < nameCount; ++i) dispids[i] = DISPID_UNKNOWN;
    return member != nullptr && nameCount == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT Control::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) {
    if (!isPlainByteFetch(id, riid, flags, params, result)) {
        const HRESULT status =
            invokeMember(members_, number_, id, riid, flags, params, result, exception, argumentError);
        if (changesInk(id)) inkChanged();
        return status;
    }
    const std::optional<std::int16_t> byte = members_.renderByte(params->rgvarg[0].lVal);
    if (!byte) return invokeMember(members_, number_, id, riid, flags, params, result, exception, argumentError);
    result->vt = VT_I2;
    result->iVal = *byte;
    return S_OK;
}

HRESULT Control::AddStroke(const Point* points, ULONG count) {
    Ink& ink = members_.ink();
    if (points == nullptr || count == 0 || count > kMaxInkPoints - pointCount(ink)) return E_INVALIDARG;
    try {
        ink.emplace_back(points, points + count);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT Control::GetInk(Ink* ink) {
    if (ink == nullptr) return E_POINTER;
    try {
        *ink = members_.ink();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT createControl(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    const auto control = platform::ComPtr<IDispatch>::adopt(new (std::nothrow) Control());
    if (!control) return E_OUTOFMEMORY;
    return control->QueryInterface(riid, object);
}

std::size_t liveControlCount() { return liveControls.load(); }

}  // namespace sigplus
