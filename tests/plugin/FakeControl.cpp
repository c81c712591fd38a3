#include "FakeControl.h"

#include "capture/SigPlusMembers.h"

#include <platform/utf.h>
#include <platform/wide_text.h>
#include <platform/com_object.h>

#include "FakeComParts.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <utility>

namespace {

namespace members = zera::sigplus;

struct FakeState {
    FakeControlScript script;
    std::vector<std::string> calls;
    std::map<DISPID, int> callCounts;
    int created = 0;
    int alive = 0;
};

FakeState* state = nullptr;

// An argument as the control's own journal writes it: numbers in decimal,
// texts as they are, and one of another type than the member takes as
// "vt=N".
std::string describeArgument(const VARIANT& v, VARTYPE expected) {
    if (v.vt != expected) return "vt=" + std::to_string(v.vt);
    switch (v.vt) {
        case VT_I2: return std::to_string(v.iVal);
        case VT_I4: return std::to_string(v.lVal);
        case VT_BOOL: return v.boolVal != VARIANT_FALSE ? "true" : "false";
        case VT_BSTR: return platform::utf16ToUtf8(std::u16string(platform::utf16(v.bstrVal), SysStringLen(v.bstrVal)));
        case VT_BSTR | VT_BYREF:
            return platform::utf16ToUtf8(std::u16string(platform::utf16(*v.pbstrVal), SysStringLen(*v.pbstrVal)));
        default: return "vt=" + std::to_string(v.vt);
    }
}

// "put PadKind 11", "method BindAddText Order 1042", "get SignatureText",
// as the control journals its calls.
std::string describeCall(DISPID id, WORD flags, const DISPPARAMS& parameters) {
    const members::Member* member = members::findMember(id);
    const bool putting = (flags & DISPATCH_PROPERTYPUT) != 0;
    const bool getting = member != nullptr ? member->property : flags == DISPATCH_PROPERTYGET;
    std::string entry = putting ? "put " : getting ? "get " : "method ";
    entry += member != nullptr ? member->name : "dispid " + std::to_string(id);
    for (UINT position = 0; position < parameters.cArgs; ++position) {
        VARTYPE expected = VT_EMPTY;
        if (member != nullptr && putting) expected = member->type;
        if (member != nullptr && !putting && position < member->argumentCount) expected = member->arguments[position];
        // The last argument comes first.
        entry += " " + describeArgument(parameters.rgvarg[parameters.cArgs - 1 - position], expected);
    }
    return entry;
}

std::string withFailure(std::string entry, HRESULT status) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
    return entry + " -> " + code;
}

class FakeControl final : public platform::ComObject<IDispatch> {
public:
    FakeControl() {
        ++state->created;
        ++state->alive;
        if (state->script.extender) extension_.reset(state->script.extender(this, state->script, state->calls));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        IDispatch* self = this;
        if (void* added = extension_ != nullptr ? extension_->find(riid) : nullptr) {
            *object = added;
            AddRef();
            return S_OK;
        }
        if (!state->script.answerDispatch) return platform::answerQuery(self, riid, object, {});
        return platform::answerQuery(self, riid, object, {{IID_IDispatch, self}, {members::kDispatchIid, self}});
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        const std::string entry = describeCall(member, flags, *parameters);
        const auto failing = state->script.failing.find(member);
        if (failing != state->script.failing.end() && state->callCounts[member]++ >= failing->second) {
            state->calls.push_back(withFailure(entry, DISP_E_EXCEPTION));
            if (exception != nullptr) exception->bstrDescription = SysAllocString(platform::wide(u"the pad did not answer"));
            return DISP_E_EXCEPTION;
        }
        state->calls.push_back(entry);
        if (result != nullptr) VariantInit(result);
        switch (member) {
            case members::SignaturePointCount:
                result->vt = VT_I2;
                result->iVal = state->script.signaturePoints;
                break;
            case members::InkPointCount:
                result->vt = VT_I2;
                result->iVal = state->script.inkPoints;
                break;
            case members::HotSpotTouched:
                result->vt = VT_I2;
                result->iVal = parameters->cArgs == 1 && parameters->rgvarg[0].vt == VT_I2 &&
                                       parameters->rgvarg[0].iVal == state->script.touchedHotSpot
                                   ? 1
                                   : 0;
                break;
            case members::HotSpotReset: state->script.touchedHotSpot = -1; break;
            case members::SignatureText:  // read on acceptance
                if (flags == DISPATCH_PROPERTYGET) {
                    result->vt = VT_BSTR;
                    result->bstrVal = SysAllocStringLen(platform::wide(state->script.signatureText.data()),
                                                        static_cast<UINT>(state->script.signatureText.size()));
                }
                break;
            case members::RenderBufferSize:
                result->vt = VT_I4;
                result->lVal = state->script.bufferSize;
                break;
            case members::RenderBufferByte: {
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
    ~FakeControl() override {
        extension_.reset();
        --state->alive;
    }

    std::unique_ptr<FakeControlExtension> extension_;
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
    try {
        registration_ = std::make_unique<testsupport::ScopedClassObject>(
            members::kClassId, []() -> IUnknown* { return new FakeControl(); });
    } catch (...) {
        delete std::exchange(state, nullptr);
        throw;
    }
}

FakeControlRegistration::~FakeControlRegistration() {
    registration_.reset();
    delete std::exchange(state, nullptr);
}

const std::vector<std::string>& FakeControlRegistration::calls() const { return state->calls; }
int FakeControlRegistration::objectsCreated() const { return state->created; }
int FakeControlRegistration::objectsAlive() const { return state->alive; }
FakeControlScript& FakeControlRegistration::script() { return state->script; }
