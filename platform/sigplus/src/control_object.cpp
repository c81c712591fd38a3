#include "control_object.h"

#include "event_point.h"
#include "journal_store.h"
#include "members.h"
#include "pad.h"
#include "sigplus/control.h"
#include "sigplus/pad_script.h"
#include "sigplus/render.h"
#include "sigplus/signature_codec.h"

#include <objidl.h>
#include <ocidl.h>
#include <oleauto.h>
#include <platform/utf.h>
#include <winplatform/com_object.h>
#include <winplatform/headless_input.h>

#include <algorithm>
#include <atomic>
#include <array>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace sigplus {
namespace {

std::atomic<std::size_t> liveControls{0};
std::atomic<ULONG> objectsMade{0};

// A value a call gives back; only SignatureText gives a text.
struct Value {
    ValueType type = ValueType::None;
    std::int32_t number = 0;
    std::u16string text;
};

// An argument as passed: a text stays the caller's, for the call.
struct Argument {
    ValueType type = ValueType::None;
    std::int32_t number = 0;
    std::u16string_view text;
};

struct Outcome {
    HRESULT status = S_OK;
    Value result;
    SCODE code = S_OK;         // for DISP_E_EXCEPTION
    const char* description = nullptr;
};

Outcome failure(SCODE code, const char* description) {
    Outcome outcome;
    outcome.status = DISP_E_EXCEPTION;
    outcome.code = code;
    outcome.description = description;
    return outcome;
}

Outcome refusal(HRESULT status) {
    Outcome outcome;
    outcome.status = status;
    return outcome;
}

Outcome number(ValueType type, std::int32_t value) {
    Outcome outcome;
    outcome.result.type = type;
    outcome.result.number = value;
    return outcome;
}

std::int16_t clampToShort(std::size_t value) { return static_cast<std::int16_t>(std::min<std::size_t>(value, 32767)); }

std::u16string_view bstrView(BSTR text) {
    return text == nullptr ? std::u16string_view() : std::u16string_view(text, SysStringLen(text));
}

JournalResult journalResult(const Value& value) {
    JournalResult result;
    result.number = value.number;
    switch (value.type) {
    case ValueType::None: break;
    case ValueType::I2:
    case ValueType::I4: result.kind = JournalResult::Kind::Number; break;
    case ValueType::Bool: result.kind = JournalResult::Kind::Bool; break;
    case ValueType::Bstr:
    case ValueType::BstrRef:
        result.kind = JournalResult::Kind::Text;
        result.text = value.text;
        break;
    }
    return result;
}

// Reads an argument of the expected type; false for another type.
bool readArgument(const VARIANT& v, ValueType expected, Argument& value) {
    if (v.vt != variantTypeOf(expected)) return false;
    value.type = expected;
    switch (expected) {
    case ValueType::I2: value.number = v.iVal; break;
    case ValueType::I4: value.number = v.lVal; break;
    case ValueType::Bool: value.number = v.boolVal != VARIANT_FALSE ? 1 : 0; break;
    case ValueType::Bstr: value.text = bstrView(v.bstrVal); break;
    case ValueType::BstrRef:
        if (v.pbstrVal == nullptr) return false;
        value.text = bstrView(*v.pbstrVal);
        break;
    case ValueType::None: return false;
    }
    return true;
}

HRESULT writeResult(const Value& value, VARIANT* result) {
    VariantInit(result);
    switch (value.type) {
    case ValueType::None: return S_OK;
    case ValueType::I2: result->iVal = static_cast<SHORT>(value.number); break;
    case ValueType::I4: result->lVal = value.number; break;
    case ValueType::Bool: result->boolVal = value.number != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case ValueType::Bstr:
    case ValueType::BstrRef:
        result->bstrVal = SysAllocStringLen(value.text.data(), static_cast<UINT>(value.text.size()));
        if (result->bstrVal == nullptr) return E_OUTOFMEMORY;
        break;
    }
    result->vt = variantTypeOf(value.type == ValueType::BstrRef ? ValueType::Bstr : value.type);
    return S_OK;
}

void fillException(EXCEPINFO* exception, const Outcome& outcome) {
    if (exception == nullptr) return;
    *exception = EXCEPINFO{};
    exception->scode = outcome.code;
    exception->bstrSource = SysAllocString(u"SigPlus");
    const std::u16string description = platform::utf8ToUtf16(outcome.description != nullptr ? outcome.description : "");
    exception->bstrDescription = SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
}

// The properties are kept by DISPID; every property's DISPID is below this.
constexpr DISPID kPropertyLimit = 64;
using Properties = std::array<std::int32_t, kPropertyLimit>;

// Property values after creation and after PadReset.
constexpr Properties defaultProperties() {
    Properties values{};
    values[dispid::RenderWidth] = 215;
    values[dispid::RenderHeight] = 70;
    values[dispid::RenderPenWidth] = 15;
    values[dispid::RenderFormat] = kRenderFormatGif;
    return values;
}

constexpr Properties kDefaultProperties = defaultProperties();

// The state a container hands over for a control of the dialog's size
// (240 x 64 dialog units) when it has none of its own.
SavedState defaultState() {
    SavedState state;
    state.extentX = 9525;
    state.extentY = 2752;
    state.stockProperties = 9;
    state.foreColour = 0x00000000;
    state.backColour = 0x00D8E9EC;
    return state;
}

// A saved state longer than this is no state of this control.
constexpr ULONG kMaxSavedState = 64 * 1024;

ScreenArea areaOf(std::span<const Argument> a) { return {a[0].number, a[1].number, a[2].number, a[3].number}; }

// A bitmap handle travels as a 32-bit value, as on the 32-bit platform.
HBITMAP bitmapOf(std::int32_t value) {
    return reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(value)));
}

class Control final : public winplatform::ComObject<IDispatch, ISigPlusControl, IPersistStreamInit,
                                                     IProvideClassInfo2, IConnectionPointContainer,
                                                     winplatform::IHeadlessInput> {
public:
    Control() : number_(++objectsMade) { liveControls.fetch_add(1); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        IDispatch* dispatch = this;
        IPersistStreamInit* persist = this;
        IProvideClassInfo2* info = this;
        return winplatform::answerQuery(dispatch, riid, object,
                                        {{IID_IDispatch, dispatch},
                                         {DIID_SigPlus, dispatch},
                                         {IID_ISigPlusControl, static_cast<ISigPlusControl*>(this)},
                                         {IID_IPersist, persist},
                                         {IID_IPersistStreamInit, persist},
                                         {IID_IProvideClassInfo, info},
                                         {IID_IProvideClassInfo2, info},
                                         {IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)},
                                         {winplatform::IID_IHeadlessInput, static_cast<winplatform::IHeadlessInput*>(this)}});
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) override {
        if (typeInfo != nullptr) *typeInfo = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT nameCount, LCID,
                                            DISPID* dispids) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (names == nullptr || dispids == nullptr || nameCount == 0) return E_INVALIDARG;
        const std::u16string_view name = names[0] == nullptr ? std::u16string_view() : std::u16string_view(names[0]);
        const Member* member = findMember(name);
        dispids[0] = member != nullptr ? member->id : DISPID_UNKNOWN;
        // The members take no named arguments.
        for (UINT i = 1; i < nameCount; ++i) dispids[i] = DISPID_UNKNOWN;
        return member != nullptr && nameCount == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE AddStroke(const Point* points, ULONG count) override {
        if (points == nullptr || count == 0 || count > kMaxInkPoints - pointCount(ink_)) return E_INVALIDARG;
        ink_.emplace_back(points, points + count);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetInk(Ink* ink) override {
        if (ink == nullptr) return E_POINTER;
        *ink = ink_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE LoadState(const BYTE* bytes, ULONG size) override {
        if (bytes == nullptr) return E_POINTER;
        auto parsed = SavedState::parse(std::span(bytes, size));
        if (!parsed) return E_INVALIDARG;
        state_ = std::move(*parsed);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetState(SavedState* state) override {
        if (state == nullptr) return E_POINTER;
        *state = state_;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE ObjectNumber() override { return number_; }

    // Persistence: the state a container keeps for the control.
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
        if (clsid == nullptr) return E_POINTER;
        *clsid = CLSID_SigPlus;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override {
        if (size == nullptr) return E_POINTER;
        size->QuadPart = kSavedStateHeaderSize + state_.properties.size();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InitNew() override {
        state_ = defaultState();
        return S_OK;
    }

    // Events: the container finds the event interface and its point here.
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** typeInfo) override {
        if (typeInfo != nullptr) *typeInfo = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override {
        if (guid == nullptr) return E_POINTER;
        if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
        *guid = DIID_SigPlusEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
        if (points != nullptr) *points = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        if (point == nullptr) return E_POINTER;
        *point = nullptr;
        if (iid != DIID_SigPlusEvents) return CONNECT_E_NOCONNECTION;
        *point = &events_;
        events_.AddRef();
        return S_OK;
    }

    // Pen input from the input source: one pen record per pen-down.
    HRESULT STDMETHODCALLTYPE DeliverInput(const char* payload, ULONG length) override;

private:
    ~Control() override { liveControls.fetch_sub(1); }

    Outcome call(const Member* member, REFIID riid, WORD flags, const DISPPARAMS* params, UINT* argumentError);
    Outcome get(const Member& member);
    Outcome put(const Member& member, const Argument& value);
    Outcome method(const Member& member, std::span<const Argument> arguments);

    std::int32_t property(DISPID id) const { return properties_[static_cast<std::size_t>(id)]; }
    SignatureModes modes() const {
        return {static_cast<std::int16_t>(property(dispid::PackingMode)),
                static_cast<std::int16_t>(property(dispid::CipherMode))};
    }
    void reset() {
        properties_ = kDefaultProperties;
        ink_.clear();
        bound_.clear();
        pending_.clear();
        binding_ = false;
        renderBuffer_.clear();
        pad_.reset();
    }
    PadWindow window() const {
        return {property(dispid::PadXFrom), property(dispid::PadYFrom), property(dispid::PadXTo),
                property(dispid::PadYTo),   property(dispid::InkSpanX), property(dispid::InkSpanY)};
    }
    void firePenDown() {
        appendJournal(number_, dispid::PenDown, CallKind::Event, nullptr, S_OK, {});
        events_.fire(dispid::PenDown);
    }

    const ULONG number_;
    Properties properties_ = kDefaultProperties;
    Ink ink_;
    BoundTexts bound_;    // the texts of the last finished binding
    BoundTexts pending_;  // the texts of the binding in progress
    bool binding_ = false;
    std::vector<std::uint8_t> renderBuffer_;
    SavedState state_ = defaultState();
    Pad pad_{ScreenPictures()};
    EventPoint events_{*static_cast<IDispatch*>(this), *this, DIID_SigPlusEvents};
};

HRESULT Control::Load(LPSTREAM stream) {
    if (stream == nullptr) return E_POINTER;
    std::vector<BYTE> bytes;
    try {
        BYTE chunk[512];
        ULONG read = 0;
        do {
            read = 0;
            const HRESULT status = stream->Read(chunk, sizeof chunk, &read);
            if (FAILED(status)) return status;
            bytes.insert(bytes.end(), chunk, chunk + read);
            if (bytes.size() > kMaxSavedState) return E_INVALIDARG;
        } while (read == sizeof chunk);
        return LoadState(bytes.data(), static_cast<ULONG>(bytes.size()));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT Control::Save(LPSTREAM stream, BOOL) {
    if (stream == nullptr) return E_POINTER;
    try {
        const std::vector<std::uint8_t> bytes = state_.bytes();
        ULONG written = 0;
        const HRESULT status = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
        if (FAILED(status)) return status;
        return written == bytes.size() ? S_OK : E_FAIL;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT Control::DeliverInput(const char* payload, ULONG length) {
    if (payload == nullptr && length > 0) return E_POINTER;
    try {
        const std::optional<PenInput> pen = parsePenInput(std::string_view(payload, length));
        if (!pen) return E_INVALIDARG;
        // The container's handler runs inside the event and may let go of
        // the control; it stays until the input is taken.
        struct Hold {
            explicit Hold(Control& c) : control(c) { control.AddRef(); }
            ~Hold() { control.Release(); }
            Hold(const Hold&) = delete;
            Hold& operator=(const Hold&) = delete;
            Control& control;
        } hold(*this);
        pad_.penDown(pen->points.front());
        firePenDown();
        const Ink ink = pad_.inkOf(*pen, window(), property(dispid::InkEnabled) != 0, property(dispid::DisplayMode));
        for (const Stroke& stroke : ink) {
            // A pad records no more than the control can count.
            const std::size_t room = kMaxInkPoints - pointCount(ink_);
            if (room == 0) break;
            ink_.emplace_back(stroke.begin(), stroke.begin() + static_cast<std::ptrdiff_t>(std::min(room, stroke.size())));
        }
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

CallKind kindOf(const Member* member, WORD flags) {
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) return CallKind::Put;
    if (member != nullptr) return member->property ? CallKind::Get : CallKind::Method;
    return (flags & DISPATCH_METHOD) != 0 ? CallKind::Method : CallKind::Get;
}

HRESULT Control::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) {
    const Member* member = findMember(id);
    Outcome outcome;
    try {
        outcome = call(member, riid, flags, params, argumentError);
    } catch (const std::bad_alloc&) {
        outcome = refusal(E_OUTOFMEMORY);
    }
    if (SUCCEEDED(outcome.status) && result != nullptr && outcome.result.type != ValueType::None) {
        outcome.status = writeResult(outcome.result, result);
    }
    if (outcome.status == DISP_E_EXCEPTION) fillException(exception, outcome);
    appendJournal(number_, id, kindOf(member, flags), params, outcome.status, journalResult(outcome.result));
    return outcome.status;
}

Outcome Control::call(const Member* member, REFIID riid, WORD flags, const DISPPARAMS* params, UINT* argumentError) {
    if (member == nullptr) return refusal(DISP_E_MEMBERNOTFOUND);
    if (riid != IID_NULL) return refusal(DISP_E_UNKNOWNINTERFACE);
    static constexpr DISPPARAMS kNoArguments{nullptr, nullptr, 0, 0};
    const DISPPARAMS& p = params != nullptr ? *params : kNoArguments;
    if (p.cArgs > 0 && p.rgvarg == nullptr) return refusal(E_INVALIDARG);
    if (p.cNamedArgs > p.cArgs || (p.cNamedArgs > 0 && p.rgdispidNamedArgs == nullptr)) return refusal(E_INVALIDARG);

    const bool putting = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (member->property) {
        if (putting) {
            if (p.cArgs != 1) return refusal(DISP_E_BADPARAMCOUNT);
            if (p.cNamedArgs != 1 || p.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return refusal(DISP_E_PARAMNOTFOUND);
            Argument value;
            if (!readArgument(p.rgvarg[0], member->type, value)) {
                if (argumentError != nullptr) *argumentError = 0;
                return refusal(DISP_E_TYPEMISMATCH);
            }
            return put(*member, value);
        }
        if ((flags & DISPATCH_PROPERTYGET) == 0) return refusal(DISP_E_MEMBERNOTFOUND);
        if (p.cNamedArgs != 0) return refusal(DISP_E_NONAMEDARGS);
        if (p.cArgs != 0) return refusal(DISP_E_BADPARAMCOUNT);
        return get(*member);
    }

    if ((flags & DISPATCH_METHOD) == 0 || putting) return refusal(DISP_E_MEMBERNOTFOUND);
    if (p.cNamedArgs != 0) return refusal(DISP_E_NONAMEDARGS);
    if (p.cArgs != member->argumentCount) return refusal(DISP_E_BADPARAMCOUNT);
    std::array<Argument, std::tuple_size_v<decltype(member->arguments)>> arguments;
    for (UINT i = 0; i < p.cArgs; ++i) {
        const UINT slot = p.cArgs - 1 - i;  // the last argument comes first
        if (!readArgument(p.rgvarg[slot], member->arguments[i], arguments[i])) {
            if (argumentError != nullptr) *argumentError = slot;
            return refusal(DISP_E_TYPEMISMATCH);
        }
    }
    return method(*member, std::span(arguments.data(), p.cArgs));
}

Outcome Control::get(const Member& member) {
    if (member.id != dispid::SignatureText) return number(member.type, property(member.id));
    if (binding_) return failure(E_UNEXPECTED, "BindEnd has not finished the binding");
    Outcome outcome;
    outcome.result.type = ValueType::Bstr;
    try {
        const std::string text = encodeSignature(ink_, bound_, modes());
        outcome.result.text.assign(text.begin(), text.end());
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return failure(E_FAIL, "the ink cannot be encoded");
    }
    return outcome;
}

Outcome Control::put(const Member& member, const Argument& value) {
    if (member.id != dispid::SignatureText) {
        if (member.id >= kPropertyLimit) return refusal(DISP_E_MEMBERNOTFOUND);
        properties_[static_cast<std::size_t>(member.id)] = value.number;
        return {};
    }
    // A text that does not open under this binding and these modes is no
    // signature: the ink is left empty and SignaturePointCount says 0.
    ink_.clear();
    if (binding_) return {};
    std::string ascii;
    ascii.reserve(value.text.size());
    for (const char16_t unit : value.text) {
        if (unit == 0 || unit > 0x7F) return {};
        ascii.push_back(static_cast<char>(unit));
    }
    if (auto ink = decodeSignature(ascii, bound_, modes())) ink_ = std::move(*ink);
    return {};
}

Outcome Control::method(const Member& member, std::span<const Argument> arguments) {
    switch (member.id) {
    case dispid::ClearInk:
        ink_.clear();
        return {};
    case dispid::InkPointCount:
    case dispid::SignaturePointCount:
        return number(ValueType::I2, clampToShort(pointCount(ink_)));
    case dispid::BindBegin:
        pending_.clear();
        binding_ = true;
        return {};
    case dispid::BindAddText:
        if (!binding_) return failure(E_UNEXPECTED, "BindAddText outside BindBegin and BindEnd");
        pending_.emplace_back(arguments[0].text);
        return {};
    case dispid::BindEnd:
        if (!binding_) return failure(E_UNEXPECTED, "BindEnd without BindBegin");
        bound_ = std::move(pending_);
        pending_.clear();
        binding_ = false;
        return {};
    case dispid::PadReset:
        reset();
        return {};
    case dispid::RenderToBuffer: {
        const std::int32_t format = property(dispid::RenderFormat);
        if (format != kRenderFormatGif) return failure(E_INVALIDARG, "the render format is not supported");
        RenderSettings settings;
        settings.width = property(dispid::RenderWidth);
        settings.height = property(dispid::RenderHeight);
        settings.penWidth = property(dispid::RenderPenWidth);
        settings.option = property(dispid::RenderOption);
        settings.spanX = property(dispid::InkSpanX);
        settings.spanY = property(dispid::InkSpanY);
        try {
            renderBuffer_ = renderGif(ink_, settings);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            renderBuffer_.clear();
            return failure(E_FAIL, "the image cannot be encoded");
        }
        return {};
    }
    case dispid::RenderBufferSize:
        return number(ValueType::I4, static_cast<std::int32_t>(renderBuffer_.size()));
    case dispid::RenderBufferByte: {
        const std::int32_t index = arguments[0].number;
        if (index < 0 || static_cast<std::size_t>(index) >= renderBuffer_.size()) {
            return failure(DISP_E_BADINDEX, "RenderBufferByte index outside the image buffer");
        }
        return number(ValueType::I2, renderBuffer_[static_cast<std::size_t>(index)]);
    }
    case dispid::RenderBufferRelease:
        renderBuffer_.clear();
        renderBuffer_.shrink_to_fit();
        return {};

    // The pad (pad.h says what the arguments mean).
    case dispid::DisplaySetup:  // one screen, nothing to set
        return {};
    case dispid::DisplayInkArea:
        pad_.setDisplayInkArea(arguments[0].number != 0, areaOf(arguments.subspan(1)));
        return {};
    case dispid::InkAreaSet:
        pad_.setInkArea(areaOf(arguments));
        return number(ValueType::Bool, 1);
    case dispid::DisplayBitmap:
        return number(ValueType::Bool, pad_.drawBitmap(areaOf(arguments.subspan(2)), bitmapOf(arguments[6].number)));
    case dispid::DisplayClearArea:
        pad_.clearArea(areaOf(arguments.subspan(1)));
        return number(ValueType::Bool, 1);
    case dispid::HotSpotDefine:
        if (!pad_.defineKey(arguments[0].number, areaOf(arguments.subspan(2)))) {
            return failure(DISP_E_BADINDEX, "HotSpotDefine index outside 0 to 15");
        }
        return {};
    case dispid::HotSpotTouched: {
        const std::optional<bool> touched = pad_.keyTouched(arguments[0].number);
        if (!touched) return failure(DISP_E_BADINDEX, "HotSpotTouched index outside 0 to 15");
        return number(ValueType::I2, *touched ? 1 : 0);
    }
    case dispid::HotSpotReset:
        pad_.resetTouches();
        return {};
    case dispid::PadRefresh:
        pad_.refresh();
        return {};
    default:
        return refusal(DISP_E_MEMBERNOTFOUND);
    }
}

}  // namespace

HRESULT createControl(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    Control* control = new (std::nothrow) Control();
    if (control == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = control->QueryInterface(riid, object);
    control->Release();
    return hr;
}

std::size_t liveControlCount() { return liveControls.load(); }

}  // namespace sigplus
