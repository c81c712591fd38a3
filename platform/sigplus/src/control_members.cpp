#include "control_members.h"

#include "sigplus/render.h"

#include <algorithm>
#include <string>

namespace sigplus {
namespace {

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

std::int16_t clampToShort(std::size_t value) { return static_cast<std::int16_t>(std::min<std::size_t>(value, 32767)); }

ScreenArea areaOf(std::span<const Argument> a) { return {a[0].number, a[1].number, a[2].number, a[3].number}; }

// A bitmap handle travels as a 32-bit value, as on the 32-bit platform.
HBITMAP bitmapOf(std::int32_t value) {
    return reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(value)));
}

}  // namespace

ControlMembers::ControlMembers() : properties_(kDefaultProperties) {}

ControlMembers::~ControlMembers() = default;

SignatureModes ControlMembers::modes() const {
    return {static_cast<std::int16_t>(property(dispid::PackingMode)),
            static_cast<std::int16_t>(property(dispid::CipherMode))};
}

PadWindow ControlMembers::window() const {
    return {property(dispid::PadXFrom), property(dispid::PadYFrom), property(dispid::PadXTo),
            property(dispid::PadYTo),   property(dispid::InkSpanX), property(dispid::InkSpanY)};
}

Pad& ControlMembers::pad() {
    if (!pad_) pad_ = std::make_unique<Pad>(ScreenPictures());
    return *pad_;
}

void ControlMembers::reset() {
    properties_ = kDefaultProperties;
    ink_.clear();
    bound_.clear();
    pending_.clear();
    binding_ = false;
    renderBuffer_.clear();
    if (pad_) pad_->reset();
}

void ControlMembers::recordPen(const PenInput& pen) {
    const Ink ink = pad().inkOf(pen, window(), property(dispid::InkEnabled) != 0, property(dispid::DisplayMode));
    for (const Stroke& stroke : ink) {
        // A pad records no more than the control can count.
        const std::size_t room = kMaxInkPoints - pointCount(ink_);
        if (room == 0) break;
        ink_.emplace_back(stroke.begin(), stroke.begin() + static_cast<std::ptrdiff_t>(std::min(room, stroke.size())));
    }
}

Outcome ControlMembers::get(const Member& member) {
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

Outcome ControlMembers::put(const Member& member, const Argument& value) {
    if (member.id != dispid::SignatureText) {
        if (member.id >= kPropertyLimit) return refusal(DISP_E_MEMBERNOTFOUND);
        properties_[static_cast<std::size_t>(member.id)] = value.number;
        return {};
    }
    // A text that does not open under this binding and these modes is no
    // signature: the ink is left empty and SignaturePointCount says 0.
    ink_.clear();
    if (binding_) return {};
    std::string ascii(value.text.size(), '\0');
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        const char16_t unit = value.text[i];
        if (unit == 0 || unit > 0x7F) return {};
        ascii[i] = static_cast<char>(unit);
    }
    if (auto ink = decodeSignature(ascii, bound_, modes())) ink_ = std::move(*ink);
    return {};
}

Outcome ControlMembers::method(const Member& member, std::span<const Argument> arguments) {
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
    case dispid::RenderToBuffer: return renderToBuffer();
    case dispid::RenderBufferSize:
        return number(ValueType::I4, static_cast<std::int32_t>(renderBuffer_.size()));
    case dispid::RenderBufferByte: {
        const std::optional<std::int16_t> byte = renderByte(arguments[0].number);
        if (!byte) return failure(DISP_E_BADINDEX, "RenderBufferByte index outside the image buffer");
        return number(ValueType::I2, *byte);
    }
    case dispid::RenderBufferRelease:
        renderBuffer_.clear();
        renderBuffer_.shrink_to_fit();
        return {};
    default: return padMethod(member, arguments);
    }
}

Outcome ControlMembers::renderToBuffer() {
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

// The pad (pad.h says what the arguments mean).
Outcome ControlMembers::padMethod(const Member& member, std::span<const Argument> arguments) {
    switch (member.id) {
    case dispid::DisplaySetup:  // one screen, nothing to set
        return {};
    case dispid::DisplayInkArea:
        pad().setDisplayInkArea(arguments[0].number != 0, areaOf(arguments.subspan(1)));
        return {};
    case dispid::InkAreaSet:
        pad().setInkArea(areaOf(arguments));
        return number(ValueType::Bool, 1);
    case dispid::DisplayBitmap:
        return number(ValueType::Bool, pad().drawBitmap(areaOf(arguments.subspan(2)), bitmapOf(arguments[6].number)));
    case dispid::DisplayClearArea:
        pad().clearArea(areaOf(arguments.subspan(1)));
        return number(ValueType::Bool, 1);
    case dispid::HotSpotDefine:
        if (!pad().defineKey(arguments[0].number, areaOf(arguments.subspan(2)))) {
            return failure(DISP_E_BADINDEX, "HotSpotDefine index outside 0 to 15");
        }
        return {};
    case dispid::HotSpotTouched: {
        const std::optional<bool> touched = pad().keyTouched(arguments[0].number);
        if (!touched) return failure(DISP_E_BADINDEX, "HotSpotTouched index outside 0 to 15");
        return number(ValueType::I2, *touched ? 1 : 0);
    }
    case dispid::HotSpotReset:
        pad().resetTouches();
        return {};
    case dispid::PadRefresh:
        pad().refresh();
        return {};
    default:
        return refusal(DISP_E_MEMBERNOTFOUND);
    }
}

}  // namespace sigplus
