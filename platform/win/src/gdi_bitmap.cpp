#include "gdi_dib.h"
#include "gdi_objects.h"
#include "not_implemented.h"

#include "winplatform/errors.h"
#include "winplatform/gdi.h"
#include "winplatform/resources.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace winplatform {
namespace bitmaps {

// Not in an unnamed namespace: objects of this kind made by another copy of
// this library (process_state.h) are cast to it, which needs a type of the
// same name in every copy.
class BitmapObject : public GdiObject {
public:
    static constexpr GdiKind kKind = GdiKind::Bitmap;
    explicit BitmapObject(DibImage image) : GdiObject(kKind), image_(std::move(image)) {}

    const DibImage& image() const { return image_; }

    int describe(int size, LPVOID buffer) const override {
        if (buffer == nullptr) return static_cast<int>(sizeof(BITMAP));
        if (size < static_cast<int>(sizeof(BITMAP))) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        BITMAP description{};
        description.bmType = 0;
        description.bmWidth = image_.width;
        description.bmHeight = image_.height;
        // A device-dependent bitmap's rows are padded to 16 bits.
        description.bmWidthBytes = (image_.width * image_.bitsPerPixel + 15) / 16 * 2;
        description.bmPlanes = 1;
        description.bmBitsPixel = static_cast<WORD>(image_.bitsPerPixel);
        description.bmBits = nullptr;
        std::memcpy(buffer, &description, sizeof description);
        return static_cast<int>(sizeof description);
    }

private:
    DibImage image_;
};

}  // namespace bitmaps

using bitmaps::BitmapObject;

namespace {

// The one device context: the screen's. Its value is only ever compared.
HDC screenDc() {
    static char screen;
    return reinterpret_cast<HDC>(&screen);
}

int refuse(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

}  // namespace winplatform

WINPLATFORM_API HDC WINAPI GetDC(HWND window) { return window == nullptr ? winplatform::screenDc() : nullptr; }

WINPLATFORM_API int WINAPI ReleaseDC(HWND, HDC dc) { return dc == winplatform::screenDc() ? 1 : 0; }

WINPLATFORM_API int WINAPI GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                                     UINT usage) {
    using namespace winplatform;
    const auto object = findGdiObjectAs<BitmapObject>(bitmap);
    if (dc != screenDc() || !object) return refuse(ERROR_INVALID_HANDLE);
    if (info == nullptr) return refuse(ERROR_INVALID_PARAMETER);
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const DibImage& image = object->image();
    const bool topDown = header.biHeight < 0;
    if (bits == nullptr || header.biBitCount != 32 || header.biCompression != BI_RGB || usage != DIB_RGB_COLORS ||
        header.biWidth != image.width || (topDown && start != 0)) {
        notImplemented("GetDIBits other than 32-bit BI_RGB lines of the bitmap's width");
        return refuse(ERROR_INVALID_PARAMETER);
    }
    const auto height = static_cast<UINT>(image.height);
    if (start >= height) return 0;
    const UINT copied = std::min(lines, height - start);
    auto* out = static_cast<std::uint32_t*>(bits);
    const auto width = static_cast<std::size_t>(image.width);
    for (UINT line = 0; line < copied; ++line) {
        // Line 0 of a bottom-up request is the image's last row.
        const UINT row = topDown ? line : height - 1 - (start + line);
        std::memcpy(out + line * width, image.pixels.data() + row * width, width * sizeof(std::uint32_t));
    }
    return static_cast<int>(copied);
}

WINPLATFORM_API HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    using namespace winplatform;
    if (instance == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    HRSRC resource = FindResourceW(instance, name, RT_BITMAP);
    if (resource == nullptr) return nullptr;
    HGLOBAL loaded = LoadResource(instance, resource);
    const DWORD size = SizeofResource(instance, resource);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    if (bytes == nullptr) return nullptr;
    auto image = parseDib({bytes, size});
    if (!image) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return static_cast<HBITMAP>(addGdiObject(std::make_shared<BitmapObject>(std::move(*image))));
}
