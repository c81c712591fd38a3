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

platform::ComPtr<IUnknown> createHostedControl(const std::u16string& classText) {
    CLSID clsid{};
    if (classText.size() != 38 || classText.front() != u'{' ||
        FAILED(CLSIDFromString(const_cast<LPOLESTR>(platform::wide(classText.c_str())), &clsid))) {
        return nullptr;
    }
    platform::ComPtr<IUnknown> unknown;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                IID_IUnknown, unknown.putVoid()))) {
        return nullptr;
    }
    return unknown;
}

bool loadHostedState(IUnknown* control, const std::vector<BYTE>* savedState) {
    const auto persist = platform::queryInterface<IPersistStreamInit>(control, IID_IPersistStreamInit);
    if (!persist) return true;
    if (savedState == nullptr) return SUCCEEDED(persist->InitNew());
    const auto stream = platform::ComPtr<IStream>::adopt(
        SHCreateMemStream(savedState->data(), static_cast<UINT>(savedState->size())));
    return stream && SUCCEEDED(persist->Load(stream.get()));
}

void EventConnection::connect(IUnknown* control, CDialog& dialog, UINT controlId) {
    disconnect();
    // The control names its event interface; without one it fires nothing.
    const auto info = platform::queryInterface<IProvideClassInfo2>(control, IID_IProvideClassInfo2);
    IID events{};
    if (!info || FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events))) return;

    const auto points = platform::queryInterface<IConnectionPointContainer>(control, IID_IConnectionPointContainer);
    platform::ComPtr<IConnectionPoint> point;
    if (!points || FAILED(points->FindConnectionPoint(events, point.put())) || !point) return;
    // The connection point holds the sink while it is advised.
    const auto sink = platform::ComPtr<IDispatch>::adopt(new EventSink(dialog, controlId, events));
    if (SUCCEEDED(point->Advise(sink.get(), &cookie_))) point_ = std::move(point);
}

void EventConnection::disconnect() {
    if (!point_) return;
    point_->Unadvise(cookie_);
    point_.reset();
}

}  // namespace afx
