// The pixels of a GDI bitmap that DisplayBitmap names, read through GDI.
#pragma once

#include <platform/bitmap_pixels.h>
#include <windows.h>

namespace sigplus::win32 {

// False (and `out` untouched) for a handle that is no bitmap.
bool readBitmapPixels(HBITMAP bitmap, platform::BitmapPixels* out);

}  // namespace sigplus::win32
