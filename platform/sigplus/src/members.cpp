#include "members.h"

#include "sigplus/control.h"

namespace sigplus {
namespace {

using enum ValueType;
namespace d = dispid;

constexpr std::array<ValueType, 7> none{};
constexpr std::array<ValueType, 7> i2s{I2, I2, I2, I2, I2, I2, I2};

constexpr Member kMembers[] = {
    {d::RenderOption, "RenderOption", true, I2, 0, none},
    {d::RenderWidth, "RenderWidth", true, I2, 0, none},
    {d::RenderHeight, "RenderHeight", true, I2, 0, none},
    {d::RenderPenWidth, "RenderPenWidth", true, I2, 0, none},
    {d::InkSpanX, "InkSpanX", true, I2, 0, none},
    {d::InkSpanY, "InkSpanY", true, I2, 0, none},
    {d::PadXFrom, "PadXFrom", true, I2, 0, none},
    {d::PadYFrom, "PadYFrom", true, I2, 0, none},
    {d::PadXTo, "PadXTo", true, I2, 0, none},
    {d::PadYTo, "PadYTo", true, I2, 0, none},
    {d::PadPort, "PadPort", true, I2, 0, none},
    {d::PackingMode, "PackingMode", true, I2, 0, none},
    {d::CipherMode, "CipherMode", true, I2, 0, none},
    {d::InkEnabled, "InkEnabled", true, I2, 0, none},
    {d::RenderFormat, "RenderFormat", true, I2, 0, none},
    {d::SignatureText, "SignatureText", true, Bstr, 0, none},
    {d::PadKind, "PadKind", true, I2, 0, none},
    {d::DisplayMode, "DisplayMode", true, I4, 0, none},
    {d::ClearInk, "ClearInk", false, None, 0, none},
    {d::InkPointCount, "InkPointCount", false, I2, 0, none},
    {d::SignaturePointCount, "SignaturePointCount", false, I2, 0, none},
    {d::BindBegin, "BindBegin", false, None, 0, none},
    {d::BindAddText, "BindAddText", false, None, 1, {BstrRef}},
    {d::BindEnd, "BindEnd", false, None, 0, none},
    {d::DisplaySetup, "DisplaySetup", false, None, 7, i2s},
    {d::DisplayInkArea, "DisplayInkArea", false, None, 5, i2s},
    {d::InkAreaSet, "InkAreaSet", false, Bool, 4, i2s},
    {d::DisplayBitmap, "DisplayBitmap", false, Bool, 7, {I2, I2, I2, I2, I2, I2, I4}},
    {d::DisplayClearArea, "DisplayClearArea", false, Bool, 5, i2s},
    {d::HotSpotDefine, "HotSpotDefine", false, None, 6, i2s},
    {d::HotSpotTouched, "HotSpotTouched", false, I2, 1, i2s},
    {d::HotSpotReset, "HotSpotReset", false, None, 1, i2s},
    {d::PadRefresh, "PadRefresh", false, None, 1, i2s},
    {d::PadReset, "PadReset", false, None, 0, none},
    {d::RenderToBuffer, "RenderToBuffer", false, None, 0, none},
    {d::RenderBufferSize, "RenderBufferSize", false, I4, 0, none},
    {d::RenderBufferByte, "RenderBufferByte", false, I2, 1, {I4}},
    {d::RenderBufferRelease, "RenderBufferRelease", false, None, 0, none},
};

// Every call looks its member up, so the lookup is one index: DISPIDs are
// small and dense.
constexpr DISPID kDispidLimit = 128;

constexpr std::array<const Member*, kDispidLimit> byDispid() {
    std::array<const Member*, kDispidLimit> table{};
    for (const Member& m : kMembers) table[static_cast<std::size_t>(m.id)] = &m;
    return table;
}

constexpr std::array<const Member*, kDispidLimit> kByDispid = byDispid();

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

std::span<const Member> members() { return kMembers; }

const Member* findMember(DISPID id) {
    if (id < 0 || id >= kDispidLimit) return nullptr;
    return kByDispid[static_cast<std::size_t>(id)];
}

const Member* findMember(std::u16string_view name) {
    for (const Member& m : kMembers) {
        const std::string_view own(m.name);
        if (own.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < own.size() && same; ++i) {
            same = lower(static_cast<char16_t>(own[i])) == lower(name[i]);
        }
        if (same) return &m;
    }
    return nullptr;
}

VARTYPE variantTypeOf(ValueType type) {
    switch (type) {
    case I2: return VT_I2;
    case I4: return VT_I4;
    case Bool: return VT_BOOL;
    case Bstr: return VT_BSTR;
    case BstrRef: return VT_BSTR | VT_BYREF;
    case None: break;
    }
    return VT_EMPTY;
}

}  // namespace sigplus
