#include "TabletBMP.h"

#include "functions/Low16Bits.h"

#include <afxwin.h>

using zera::low16Bits;

TabletBMP::TabletBMP(std::int32_t x_, std::int32_t y_, std::int32_t width_, std::int32_t height_, UINT bitmapId)
    : x(x_), y(y_), width(width_), height(height_),
      bitmap_(LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmapId))) {}

// Layer 0, mode 2 and key kind 1 are the values the control takes (see
// docs/compatibility.md).
void TabletBMP::draw(CSigPlus& pad) const {
    // A bitmap handle travels as a 32-bit value, as on the 32-bit platform.
    const auto handle = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(bitmap_.get()));
    pad.DisplayBitmap(0, 2, low16Bits(x), low16Bits(y), low16Bits(width), low16Bits(height), handle);
}

void TabletBMP::defineKey(std::int16_t index, CSigPlus& pad) const {
    pad.HotSpotDefine(index, 1, low16Bits(x), low16Bits(y + 5), low16Bits(width), low16Bits(height));
}
