// The members of the signature pad control that this plug-in uses, by
// dispatch ID, with the name and types the plug-in calls each by, and the
// identifiers under which the control is reached. All of them are the pad
// maker's control's (see docs/compatibility.md).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

namespace zera::sigplus {

// {69A40DA3-4D42-11D0-86B0-0000C025864A} (see docs/compatibility.md)
inline constexpr CLSID kClassId = {0x69A40DA3, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};
// {69A40DA1-4D42-11D0-86B0-0000C025864A} (see docs/compatibility.md)
inline constexpr IID kDispatchIid = {0x69A40DA1, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};
// In-process server and handler, local and remote server (see
// docs/compatibility.md).
inline constexpr DWORD kClassContext = 0x17;
// The control's ID in the capture dialog, under which its saved state is
// kept (see docs/compatibility.md).
inline constexpr UINT kControlId = 11000;

// The control's dispatch IDs (see docs/compatibility.md).
enum Dispid : DISPID {
    RenderOption = 1,
    RenderWidth = 2,
    RenderHeight = 3,
    RenderPenWidth = 4,
    InkSpanX = 5,
    InkSpanY = 6,
    PadXFrom = 7,
    PadYFrom = 8,
    PadXTo = 9,
    PadYTo = 10,
    PadPort = 13,
    PackingMode = 17,
    CipherMode = 27,
    InkEnabled = 28,
    RenderFormat = 32,
    SignatureText = 49,
    PadKind = 50,
    DisplayMode = 60,
    ClearInk = 67,
    InkPointCount = 70,
    SignaturePointCount = 72,
    BindBegin = 86,
    BindAddText = 87,
    BindEnd = 88,
    DisplaySetup = 99,
    DisplayInkArea = 100,
    InkAreaSet = 101,
    DisplayBitmap = 104,
    DisplayClearArea = 105,
    HotSpotDefine = 106,
    HotSpotTouched = 107,
    HotSpotReset = 109,
    PadRefresh = 113,
    PadReset = 119,
    RenderToBuffer = 122,
    RenderBufferSize = 123,
    RenderBufferByte = 124,
    RenderBufferRelease = 125,
};

// A member as the plug-in calls it. Types are VARTYPEs: a property's type,
// or a method's result (VT_EMPTY for none) and its arguments in call order
// (see docs/compatibility.md).
struct Member {
    Dispid id;
    const char* name;
    bool property;
    VARTYPE type;
    std::uint8_t argumentCount;
    std::array<VARTYPE, 7> arguments;
};

namespace member_types {
inline constexpr VARTYPE kBstrRef = VT_BSTR | VT_BYREF;
inline constexpr std::array<VARTYPE, 7> kNone{};
inline constexpr std::array<VARTYPE, 7> kShorts{VT_I2, VT_I2, VT_I2, VT_I2, VT_I2, VT_I2, VT_I2};
}  // namespace member_types

inline constexpr Member kMembers[] = {
    {RenderOption, "RenderOption", true, VT_I2, 0, member_types::kNone},
    {RenderWidth, "RenderWidth", true, VT_I2, 0, member_types::kNone},
    {RenderHeight, "RenderHeight", true, VT_I2, 0, member_types::kNone},
    {RenderPenWidth, "RenderPenWidth", true, VT_I2, 0, member_types::kNone},
    {InkSpanX, "InkSpanX", true, VT_I2, 0, member_types::kNone},
    {InkSpanY, "InkSpanY", true, VT_I2, 0, member_types::kNone},
    {PadXFrom, "PadXFrom", true, VT_I2, 0, member_types::kNone},
    {PadYFrom, "PadYFrom", true, VT_I2, 0, member_types::kNone},
    {PadXTo, "PadXTo", true, VT_I2, 0, member_types::kNone},
    {PadYTo, "PadYTo", true, VT_I2, 0, member_types::kNone},
    {PadPort, "PadPort", true, VT_I2, 0, member_types::kNone},
    {PackingMode, "PackingMode", true, VT_I2, 0, member_types::kNone},
    {CipherMode, "CipherMode", true, VT_I2, 0, member_types::kNone},
    {InkEnabled, "InkEnabled", true, VT_I2, 0, member_types::kNone},
    {RenderFormat, "RenderFormat", true, VT_I2, 0, member_types::kNone},
    {SignatureText, "SignatureText", true, VT_BSTR, 0, member_types::kNone},
    {PadKind, "PadKind", true, VT_I2, 0, member_types::kNone},
    {DisplayMode, "DisplayMode", true, VT_I4, 0, member_types::kNone},
    {ClearInk, "ClearInk", false, VT_EMPTY, 0, member_types::kNone},
    {InkPointCount, "InkPointCount", false, VT_I2, 0, member_types::kNone},
    {SignaturePointCount, "SignaturePointCount", false, VT_I2, 0, member_types::kNone},
    {BindBegin, "BindBegin", false, VT_EMPTY, 0, member_types::kNone},
    {BindAddText, "BindAddText", false, VT_EMPTY, 1, {member_types::kBstrRef}},
    {BindEnd, "BindEnd", false, VT_EMPTY, 0, member_types::kNone},
    {DisplaySetup, "DisplaySetup", false, VT_EMPTY, 7, member_types::kShorts},
    {DisplayInkArea, "DisplayInkArea", false, VT_EMPTY, 5, member_types::kShorts},
    {InkAreaSet, "InkAreaSet", false, VT_BOOL, 4, member_types::kShorts},
    {DisplayBitmap, "DisplayBitmap", false, VT_BOOL, 7, {VT_I2, VT_I2, VT_I2, VT_I2, VT_I2, VT_I2, VT_I4}},
    {DisplayClearArea, "DisplayClearArea", false, VT_BOOL, 5, member_types::kShorts},
    {HotSpotDefine, "HotSpotDefine", false, VT_EMPTY, 6, member_types::kShorts},
    {HotSpotTouched, "HotSpotTouched", false, VT_I2, 1, member_types::kShorts},
    {HotSpotReset, "HotSpotReset", false, VT_EMPTY, 1, member_types::kShorts},
    {PadRefresh, "PadRefresh", false, VT_EMPTY, 1, member_types::kShorts},
    {PadReset, "PadReset", false, VT_EMPTY, 0, member_types::kNone},
    {RenderToBuffer, "RenderToBuffer", false, VT_EMPTY, 0, member_types::kNone},
    {RenderBufferSize, "RenderBufferSize", false, VT_I4, 0, member_types::kNone},
    {RenderBufferByte, "RenderBufferByte", false, VT_I2, 1, {VT_I4}},
    {RenderBufferRelease, "RenderBufferRelease", false, VT_EMPTY, 0, member_types::kNone},
};

// The plug-in's entry for a DISPID, or null for one it does not use.
constexpr const Member* findMember(DISPID id) {
    for (const Member& member : kMembers) {
        if (member.id == id) return &member;
    }
    return nullptr;
}

// The one event the dialog sinks (see docs/compatibility.md).
inline constexpr DISPID kPenDownEvent = 2;

}  // namespace zera::sigplus
