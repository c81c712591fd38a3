// The members of the signature pad control that this plug-in uses, by
// dispatch ID, and the identifiers under which the control is reached.
#pragma once

#include <windows.h>

namespace zera::sigplus {

// {69A40DA3-4D42-11D0-86B0-0000C025864A}
inline constexpr CLSID kClassId = {0x69A40DA3, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};
// {69A40DA1-4D42-11D0-86B0-0000C025864A}
inline constexpr IID kDispatchIid = {0x69A40DA1, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};
// In-process server and handler, local and remote server.
inline constexpr DWORD kClassContext = 0x17;
inline constexpr UINT kControlId = 11000;

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

// The one event the dialog sinks.
inline constexpr DISPID kPenDownEvent = 2;

}  // namespace zera::sigplus
