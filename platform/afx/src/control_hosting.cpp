#include "control_hosting.h"

#include <platform/com_object.h>
#include <platform/wide_text.h>
#include <shlwapi.h>

namespace afx {
namespace {

// Receives a control's events and hands them to the dialog's sink map.
class EventSink final : public platform::ComObject<IDispatch> {
public:
    EventSink(CDialog& dialog, UINT controlId, const IID& events)
        : dialog_(dialog), controlId_(controlId), events_(events) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        IDispatch* self = this;
        return platform::answerQuery(self, riid, object, {{IID_IDispatch, self}, {events_, self}});
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
    ~EventSink() override = default;
    CDialog& dialog_;
    UINT controlId_;
    IID events_;
};

}  // namespace

IUnknown* createHostedControl(const std::u16string& classText) {
    CLSID clsid{};
    if (classText.size() != 38 || classText.front() != u'{' ||
        FAILED(CLSIDFromString(const_cast<LPOLESTR>(platform::wide(classText.c_str())), &clsid))) {
        return nullptr;
    }
    IUnknown* unknown = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                IID_IUnknown, reinterpret_cast<void**>(&unknown)))) {
        return nullptr;
    }
    return unknown;
}

bool loadHostedState(IUnknown* control, const std::vector<BYTE>* savedState) {
    IPersistStreamInit* persist = nullptr;
    if (FAILED(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) return true;
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

void EventConnection::connect(IUnknown* control, CDialog& dialog, UINT controlId) {
    disconnect();
    // The control names its event interface; without one it fires nothing.
    IProvideClassInfo2* info = nullptr;
    IID events{};
    const bool named = SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&info))) &&
                       SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
    if (info != nullptr) info->Release();
    if (!named) return;

    IConnectionPointContainer* points = nullptr;
    if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)))) return;
    const HRESULT found = points->FindConnectionPoint(events, &point_);
    points->Release();
    if (FAILED(found) || point_ == nullptr) {
        point_ = nullptr;
        return;
    }
    auto* sink = new EventSink(dialog, controlId, events);
    if (FAILED(point_->Advise(sink, &cookie_))) {
        point_->Release();
        point_ = nullptr;
    }
    sink->Release();  // the connection point holds it while advised
}

void EventConnection::disconnect() {
    if (point_ == nullptr) return;
    point_->Unadvise(cookie_);
    point_->Release();
    point_ = nullptr;
}

}  // namespace afx
