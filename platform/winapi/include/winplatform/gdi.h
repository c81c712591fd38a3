// GDI bitmaps: loading a module's bitmap resources into bitmap objects and
// reading their pixels back. This platform has no display: a bitmap object
// is kept as the image it was loaded from, and the only device context is
// the screen's, which GetDIBits reads a bitmap through.
#pragma once

#include "winplatform/types.h"

// Any GDI object; a bitmap handle converts to it, as on Windows.
using HGDIOBJ = void*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
struct HDC__;
using HDC = HDC__*;

#define DIB_RGB_COLORS ((UINT)0)

#define BI_RGB ((DWORD)0)
#define BI_RLE8 ((DWORD)1)
#define BI_RLE4 ((DWORD)2)
#define BI_BITFIELDS ((DWORD)3)

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// The header a bitmap resource starts with: a .bmp file without its file
// header. The palette and the pixel rows follow it.
struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;  // positive: rows bottom-up; negative: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
using LPBITMAPINFO = BITMAPINFO*;

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
using PBITMAP = BITMAP*;
using LPBITMAP = BITMAP*;

// Loads bitmap resource `name` (RT_BITMAP) of a module into a new bitmap
// object; DeleteObject releases it. The object keeps the size and the bit
// depth of the resource: with no display there is no screen format to
// convert a colour bitmap to. Returns null when the resource is missing
// (the last error as FindResourceW leaves it) or is not a bitmap this
// platform reads (ERROR_RESOURCE_DATA_NOT_FOUND): uncompressed, 1, 4, 8,
// 16, 24 or 32 bits per pixel. A null instance asks for the system's
// predefined bitmaps, which this platform does not have.
WINPLATFORM_API HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name);

// Destroys a GDI object. FALSE (ERROR_INVALID_HANDLE) for a handle that is
// not a live GDI object, such as one already deleted.
WINPLATFORM_API BOOL WINAPI DeleteObject(HGDIOBJ object);

// Describes a GDI object. For a bitmap: with a null buffer, returns the size
// of BITMAP; with a buffer of at least that size, fills it (bmBits is null,
// as for a bitmap loaded from resources on Windows) and returns the bytes
// written. 0 for an unknown handle (ERROR_INVALID_HANDLE) or a smaller
// buffer (ERROR_INSUFFICIENT_BUFFER).
WINPLATFORM_API int WINAPI GetObjectW(HANDLE object, int size, LPVOID buffer);

// The screen's device context, for a null window (the only one this
// platform has); null for any window. ReleaseDC answers 1 for it, 0 for any
// other.
WINPLATFORM_API HDC WINAPI GetDC(HWND window);
WINPLATFORM_API int WINAPI ReleaseDC(HWND window, HDC dc);

// Copies scan lines of a bitmap as 32-bit pixels (blue, green, red, 0) into
// `bits`: the header in `info` asks for BI_RGB at 32 bits per pixel and the
// bitmap's width, rows bottom-up for a positive height, top-down for a
// negative one (from line 0). Returns the lines copied; 0 for an unknown
// bitmap or device context (ERROR_INVALID_HANDLE) or a request it does not
// serve (ERROR_INVALID_PARAMETER).
WINPLATFORM_API int WINAPI GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                                     UINT usage);
