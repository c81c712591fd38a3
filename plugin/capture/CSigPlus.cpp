#include "CSigPlus.h"

#include "SigPlusMembers.h"

using zera::DispatchArgument;
namespace m = zera::sigplus;

namespace {

DispatchArgument i2(std::int16_t value) { return DispatchArgument::i2(value); }

}  // namespace

platform::ComPtr<IDispatch> CSigPlus::dispatchInterface() const {
    return platform::queryInterface<IDispatch>(GetControlUnknown(), m::kDispatchIid);
}

void CSigPlus::raiseFailure(HRESULT status, const std::u16string& description) const {
    AfxThrowOleDispatchException(status, description);
}

void CSigPlus::raiseOutOfMemory() const { AfxThrowMemoryException(); }

void CSigPlus::SetPadKind(std::int16_t value) { putI2(m::PadKind, value); }
void CSigPlus::SetPadPort(std::int16_t value) { putI2(m::PadPort, value); }
void CSigPlus::SetPadXFrom(std::int16_t value) { putI2(m::PadXFrom, value); }
void CSigPlus::SetPadXTo(std::int16_t value) { putI2(m::PadXTo, value); }
void CSigPlus::SetPadYFrom(std::int16_t value) { putI2(m::PadYFrom, value); }
void CSigPlus::SetPadYTo(std::int16_t value) { putI2(m::PadYTo, value); }
void CSigPlus::SetInkSpanX(std::int16_t value) { putI2(m::InkSpanX, value); }
void CSigPlus::SetInkSpanY(std::int16_t value) { putI2(m::InkSpanY, value); }
void CSigPlus::SetPackingMode(std::int16_t value) { putI2(m::PackingMode, value); }
void CSigPlus::SetCipherMode(std::int16_t value) { putI2(m::CipherMode, value); }
void CSigPlus::SetInkEnabled(std::int16_t value) { putI2(m::InkEnabled, value); }
void CSigPlus::SetDisplayMode(std::int32_t value) { putI4(m::DisplayMode, value); }
std::u16string CSigPlus::GetSignatureText() { return getText(m::SignatureText); }

void CSigPlus::ClearInk() { call(m::ClearInk); }
std::int16_t CSigPlus::InkPointCount() { return callI2(m::InkPointCount); }
void CSigPlus::BindBegin() { call(m::BindBegin); }
void CSigPlus::BindAddText(BSTR* text) { call(m::BindAddText, {DispatchArgument::bstrByRef(text)}); }
void CSigPlus::BindEnd() { call(m::BindEnd); }

void CSigPlus::DisplaySetup(std::int16_t mode, std::int16_t width, std::int16_t height, std::int16_t setupArg0,
                            std::int16_t setupArg1, std::int16_t setupArg2, std::int16_t setupArg3) {
    call(m::DisplaySetup,
         {i2(mode), i2(width), i2(height), i2(setupArg0), i2(setupArg1), i2(setupArg2), i2(setupArg3)});
}
void CSigPlus::DisplayInkArea(std::int16_t show, std::int16_t x, std::int16_t y, std::int16_t width,
                              std::int16_t height) {
    call(m::DisplayInkArea, {i2(show), i2(x), i2(y), i2(width), i2(height)});
}
// The control's answers to the area and bitmap calls carry nothing the
// dialog uses.
void CSigPlus::InkAreaSet(std::int16_t x, std::int16_t y, std::int16_t width, std::int16_t height) {
    call(m::InkAreaSet, {i2(x), i2(y), i2(width), i2(height)});
}
void CSigPlus::DisplayBitmap(std::int16_t layer, std::int16_t mode, std::int16_t x, std::int16_t y, std::int16_t width,
                             std::int16_t height, std::int32_t bitmap) {
    call(m::DisplayBitmap, {i2(layer), i2(mode), i2(x), i2(y), i2(width), i2(height), DispatchArgument::i4(bitmap)});
}
void CSigPlus::DisplayClearArea(std::int16_t layer, std::int16_t x, std::int16_t y, std::int16_t width,
                                std::int16_t height) {
    call(m::DisplayClearArea, {i2(layer), i2(x), i2(y), i2(width), i2(height)});
}
void CSigPlus::HotSpotDefine(std::int16_t index, std::int16_t kind, std::int16_t x, std::int16_t y, std::int16_t width,
                             std::int16_t height) {
    call(m::HotSpotDefine, {i2(index), i2(kind), i2(x), i2(y), i2(width), i2(height)});
}
std::int16_t CSigPlus::HotSpotTouched(std::int16_t index) { return callI2(m::HotSpotTouched, {i2(index)}); }
void CSigPlus::HotSpotReset(std::int16_t kind) { call(m::HotSpotReset, {i2(kind)}); }
void CSigPlus::PadRefresh(std::int16_t kind) { call(m::PadRefresh, {i2(kind)}); }
