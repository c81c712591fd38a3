#include "TabletBMP.h"

#include <afxwin.h>

namespace {

std::int16_t as16(std::int32_t value) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(value)); }

}  // namespace

TabletBMP::TabletBMP(std::int32_t x_, std::int32_t y_, std::int32_t width_, std::int32_t height_, UINT bitmapId)
    : x(x_), y(y_), width(width_), height(height_),
      bitmap_(LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmapId))) {}

void TabletBMP::draw(CSigPlus& pad) const {
    // A bitmap handle travels as a 32-bit value, as on the 32-bit platform.
    const auto handle = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(bitmap_.get()));
    pad.DisplayBitmap(0, 2, as16(x), as16(y), as16(width), as16(height), handle);
}

void TabletBMP::defineKey(std::int16_t index, CSigPlus& pad) const {
    pad.HotSpotDefine(index, 1, as16(x), as16(y + 5), as16(width), as16(height));
}
