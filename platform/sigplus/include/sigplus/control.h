// The SigPlus control of this platform: identifiers, dispatch IDs, and the
// control's own interface for what does not go through IDispatch (pen
// input, the persisted state). A program reaches the control through COM
// (CoCreateInstance of CLSID_SigPlus) and uses ISigPlusControl by querying
// the object for it; the inline helpers below do that.
#pragma once

#include "sigplus/api.h"
#include "sigplus/ink.h"
#include "sigplus/saved_state.h"

#include <oaidl.h>
#include <platform/com_ptr.h>

#include <cstddef>
#include <span>

namespace sigplus {

// The pad maker's control's class and dispatch interface, under which this
// one takes its place (see docs/compatibility.md).
inline constexpr CLSID CLSID_SigPlus{0x69A40DA3, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};
inline constexpr IID DIID_SigPlus{0x69A40DA1, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};
// The control's events (PenDown), fired through its connection point (see
// docs/compatibility.md).
inline constexpr IID DIID_SigPlusEvents{0x69A40DA2, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};
// {5E0F7C21-9B3D-4A6E-8C14-2D7B9F0A6C31}
inline constexpr IID IID_ISigPlusControl{0x5E0F7C21, 0x9B3D, 0x4A6E, {0x8C, 0x14, 0x2D, 0x7B, 0x9F, 0x0A, 0x6C, 0x31}};

// The pad maker's control's dispatch IDs (see docs/compatibility.md).
namespace dispid {
inline constexpr DISPID PenDown = 2;  // event
inline constexpr DISPID RenderOption = 1;
inline constexpr DISPID RenderWidth = 2;
inline constexpr DISPID RenderHeight = 3;
inline constexpr DISPID RenderPenWidth = 4;
inline constexpr DISPID InkSpanX = 5;
inline constexpr DISPID InkSpanY = 6;
inline constexpr DISPID PadXFrom = 7;
inline constexpr DISPID PadYFrom = 8;
inline constexpr DISPID PadXTo = 9;
inline constexpr DISPID PadYTo = 10;
inline constexpr DISPID PadPort = 13;
inline constexpr DISPID PackingMode = 17;
inline constexpr DISPID CipherMode = 27;
inline constexpr DISPID InkEnabled = 28;
inline constexpr DISPID RenderFormat = 32;
inline constexpr DISPID SignatureText = 49;
inline constexpr DISPID PadKind = 50;
inline constexpr DISPID DisplayMode = 60;
inline constexpr DISPID ClearInk = 67;
inline constexpr DISPID InkPointCount = 70;
inline constexpr DISPID SignaturePointCount = 72;
inline constexpr DISPID BindBegin = 86;
inline constexpr DISPID BindAddText = 87;
inline constexpr DISPID BindEnd = 88;
inline constexpr DISPID DisplaySetup = 99;
inline constexpr DISPID DisplayInkArea = 100;
inline constexpr DISPID InkAreaSet = 101;
inline constexpr DISPID DisplayBitmap = 104;
inline constexpr DISPID DisplayClearArea = 105;
inline constexpr DISPID HotSpotDefine = 106;
inline constexpr DISPID HotSpotTouched = 107;
inline constexpr DISPID HotSpotReset = 109;
inline constexpr DISPID PadRefresh = 113;
inline constexpr DISPID PadReset = 119;
inline constexpr DISPID RenderToBuffer = 122;
inline constexpr DISPID RenderBufferSize = 123;
inline constexpr DISPID RenderBufferByte = 124;
inline constexpr DISPID RenderBufferRelease = 125;
}  // namespace dispid

// The environment variable naming the folder into which a control saves
// pictures of the pad's screen (PNG files); unset, none are saved.
inline constexpr const char* kScreensVariable = "SIGPLUS_SCREENS";

// RenderFormat of a GIF image (see docs/compatibility.md).
inline constexpr SHORT kRenderFormatGif = 5;

struct ISigPlusControl : IUnknown {
    // Pen input: one stroke (pen down to pen up) in the pad's coordinates.
    // E_INVALIDARG for no points or when the ink would exceed kMaxInkPoints.
    virtual HRESULT STDMETHODCALLTYPE AddStroke(const Point* points, ULONG count) = 0;
    // A copy of the current ink.
    virtual HRESULT STDMETHODCALLTYPE GetInk(Ink* ink) = 0;
    // Loads the persisted state; E_INVALIDARG for fewer bytes than its header.
    virtual HRESULT STDMETHODCALLTYPE LoadState(const BYTE* bytes, ULONG size) = 0;
    // The persisted state now (what was loaded, or the defaults).
    virtual HRESULT STDMETHODCALLTYPE GetState(SavedState* state) = 0;
    // The object's number in the journal (1 for the first object made).
    virtual ULONG STDMETHODCALLTYPE ObjectNumber() = 0;

protected:
    ~ISigPlusControl() = default;
};

// The control interface of an object of this library; null for any other.
inline platform::ComPtr<ISigPlusControl> controlOf(IUnknown* object) {
    return platform::queryInterface<ISigPlusControl>(object, IID_ISigPlusControl);
}

inline HRESULT addStroke(IUnknown* object, std::span<const Point> points) {
    const auto control = controlOf(object);
    if (!control) return E_NOINTERFACE;
    return control->AddStroke(points.data(), static_cast<ULONG>(points.size()));
}

inline HRESULT loadState(IUnknown* object, std::span<const BYTE> bytes) {
    const auto control = controlOf(object);
    if (!control) return E_NOINTERFACE;
    return control->LoadState(bytes.data(), static_cast<ULONG>(bytes.size()));
}

// Control objects of this library alive now.
SIGPLUS_API std::size_t liveControlCount();

}  // namespace sigplus
