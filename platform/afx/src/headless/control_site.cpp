#include "control_site.h"

#include <shlwapi.h>
#include <winplatform/com_object.h>
#include <winplatform/headless_input.h>


namespace afx {
namespace {

// Receives a control's events and hands them to the dialog's sink map.
class EventSink final : public winplatform::ComObject<IDispatch> {
public:
    EventSink(CDialog& dialog, UINT controlId) : dialog_(dialog), controlId_(controlId) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        IDispatch* self = this;
        return winplatform::answerQuery(self, riid, object, {{IID_IDispatch, self}, {eventInterface, self}});
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

    IID eventInterface = IID_IDispatch;

private:
    ~EventSink() override = default;
    CDialog& dialog_;
    UINT controlId_;
};

// The class text of a template item names a hosted control by its class ID.
bool classIdOf(const std::u16string& text, CLSID* clsid) {
    return text.size() == 38 && text.front() == u'{' && SUCCEEDED(CLSIDFromString(text.c_str(), clsid));
}

}  // namespace

std::unique_ptr<ControlSite> ControlSite::create(const std::u16string& classText, UINT controlId,
                                                 const std::vector<BYTE>* savedState, CDialog& dialog) {
    CLSID clsid{};
    if (!classIdOf(classText, &clsid)) return nullptr;
    IUnknown* unknown = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                IID_IUnknown, reinterpret_cast<void**>(&unknown))) ||
        unknown == nullptr) {
        return nullptr;
    }
    std::unique_ptr<ControlSite> site(new ControlSite(unknown, controlId));
    site->loadState(savedState);
    site->connectEvents(dialog);
    return site;
}

void ControlSite::loadState(const std::vector<BYTE>* savedState) {
    IPersistStreamInit* persist = nullptr;
    if (FAILED(unknown_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) return;
    if (savedState == nullptr) {
        persist->InitNew();
    } else if (IStream* stream = SHCreateMemStream(savedState->data(), static_cast<UINT>(savedState->size()))) {
        persist->Load(stream);
        stream->Release();
    }
    persist->Release();
}

void ControlSite::connectEvents(CDialog& dialog) {
    // The control names its event interface; without one it fires nothing.
    IProvideClassInfo2* info = nullptr;
    IID events{};
    const bool named = SUCCEEDED(unknown_->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&info))) &&
                       SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
    if (info != nullptr) info->Release();
    if (!named) return;

    IConnectionPointContainer* container = nullptr;
    if (FAILED(unknown_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) return;
    const HRESULT found = container->FindConnectionPoint(events, &eventPoint_);
    container->Release();
    if (FAILED(found) || eventPoint_ == nullptr) {
        eventPoint_ = nullptr;
        return;
    }
    auto* sink = new EventSink(dialog, controlId_);
    sink->eventInterface = events;
    if (FAILED(eventPoint_->Advise(sink, &eventCookie_))) {
        eventPoint_->Release();
        eventPoint_ = nullptr;
    }
    sink->Release();  // the connection point holds it while advised
}

bool ControlSite::deliverInput(const std::string& payload) {
    winplatform::IHeadlessInput* input = nullptr;
    if (FAILED(unknown_->QueryInterface(winplatform::IID_IHeadlessInput, reinterpret_cast<void**>(&input)))) return false;
    const HRESULT status = input->DeliverInput(payload.data(), static_cast<ULONG>(payload.size()));
    input->Release();
    return SUCCEEDED(status);
}

ControlSite::~ControlSite() {
    if (eventPoint_ != nullptr) {
        eventPoint_->Unadvise(eventCookie_);
        eventPoint_->Release();
    }
    unknown_->Release();
}

}  // namespace afx
