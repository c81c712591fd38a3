// What a control of this platform needs to show a GDI bitmap: its pixels.
// Not part of the Win32 subset; on Windows a control reads a bitmap with
// GetDIBits instead.
#pragma once

#include "winplatform/gdi.h"

#include <platform/bitmap_pixels.h>

namespace winplatform {

using platform::BitmapPixels;

// Copies the pixels of a live bitmap object; false (and `out` untouched)
// for any other handle.
__attribute__((visibility("default"))) bool readBitmapPixels(HBITMAP bitmap, BitmapPixels* out);

}  // namespace winplatform
