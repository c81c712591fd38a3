#include "FakeControl.h"

#include <platform/utf.h>
#include <platform/wide_text.h>
#include <winplatform/com_object.h>

#include <stdexcept>

namespace {

const CLSID kControlClass = {0x69A40DA3, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};
const IID kControlDispatch = {0x69A40DA1, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};

struct FakeState {
    FakeControlScript script;
    std::vector<std::string> calls;
    std::map<DISPID, int> callCounts;
    int created = 0;
    int alive = 0;
};

FakeState* state = nullptr;

std::string describeArgument(const VARIANT& v) {
    switch (v.vt) {
        case VT_I2: return std::to_string(v.iVal);
        case VT_I4: return std::to_string(v.lVal);
        case VT_BSTR: return "'" + platform::utf16ToUtf8(std::u16string(platform::utf16(v.bstrVal), SysStringLen(v.bstrVal))) + "'";
        case VT_BSTR | VT_BYREF:
            return "&'" + platform::utf16ToUtf8(std::u16string(platform::utf16(*v.pbstrVal), SysStringLen(*v.pbstrVal))) + "'";
        default: return "vt" + std::to_string(v.vt);
    }
}

class FakeControl final : public winplatform::ComObject<IDispatch> {
public:
    FakeControl() {
        ++state->created;
        ++state->alive;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        IDispatch* self = this;
        if (!state->script.answerDispatch) return winplatform::answerQuery(self, riid, object, {});
        return winplatform::answerQuery(self, riid, object, {{IID_IDispatch, self}, {kControlDispatch, self}});
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        std::string entry = flags == DISPATCH_PROPERTYPUT ? "put " : flags == DISPATCH_PROPERTYGET ? "get " : "call ";
        entry += std::to_string(member);
        for (UINT i = parameters->cArgs; i > 0; --i) entry += " " + describeArgument(parameters->rgvarg[i - 1]);
        state->calls.push_back(entry);

        const auto failing = state->script.failing.find(member);
        if (failing != state->script.failing.end() && state->callCounts[member]++ >= failing->second) {
            if (exception != nullptr) exception->bstrDescription = SysAllocString(platform::wide(u"the pad did not answer"));
            return DISP_E_EXCEPTION;
        }
        if (result != nullptr) VariantInit(result);
        switch (member) {
            case 72:  // signature points
                result->vt = VT_I2;
                result->iVal = state->script.signaturePoints;
                break;
            case 70:  // ink points
                result->vt = VT_I2;
                result->iVal = state->script.inkPoints;
                break;
            case 107:  // touch key hit
                result->vt = VT_I2;
                result->iVal = 0;
                break;
            case 49:  // signature text, read on acceptance
                if (flags == DISPATCH_PROPERTYGET) {
                    result->vt = VT_BSTR;
                    result->bstrVal = SysAllocStringLen(platform::wide(state->script.signatureText.data()),
                                                        static_cast<UINT>(state->script.signatureText.size()));
                }
                break;
            case 123:  // buffer size
                result->vt = VT_I4;
                result->lVal = state->script.bufferSize;
                break;
            case 124: {  // one buffer byte
                const auto index = static_cast<std::size_t>(parameters->rgvarg[0].lVal);
                result->vt = VT_I2;
                result->iVal = static_cast<SHORT>(index < state->script.image.size() ? state->script.image[index] : 0);
                break;
            }
            default: break;
        }
        return S_OK;
    }

private:
    ~FakeControl() override { --state->alive; }
};

class FakeFactory final : public winplatform::ComObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        IClassFactory* self = this;
        return winplatform::answerQuery(self, riid, object, {{IID_IClassFactory, self}});
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* control = new FakeControl();
        const HRESULT status = control->QueryInterface(riid, object);
        control->Release();
        return status;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ~FakeFactory() override = default;
};

}  // namespace

FakeControlRegistration::FakeControlRegistration(FakeControlScript script) {
    if (state != nullptr) throw std::logic_error("one fake control at a time");
    state = new FakeState{std::move(script), {}, {}, 0, 0};
    if (state->script.image.empty()) {
        for (std::int32_t i = 0; i < state->script.bufferSize && i < 1 << 20; ++i) {
            state->script.image.push_back(static_cast<std::uint8_t>(i * 37 + 11));
        }
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    auto* factory = new FakeFactory();
    const HRESULT status = CoRegisterClassObject(kControlClass, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    factory->Release();
    if (FAILED(status)) throw std::runtime_error("cannot register the fake control");
}

FakeControlRegistration::~FakeControlRegistration() {
    CoRevokeClassObject(cookie_);
    CoUninitialize();
    delete state;
    state = nullptr;
}

const std::vector<std::string>& FakeControlRegistration::calls() const { return state->calls; }
int FakeControlRegistration::objectsCreated() const { return state->created; }
int FakeControlRegistration::objectsAlive() const { return state->alive; }
FakeControlScript& FakeControlRegistration::script() { return state->script; }
