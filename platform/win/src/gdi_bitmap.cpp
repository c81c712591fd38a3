#include "gdi_dib.h"
#include "gdi_objects.h"

#include "winplatform/errors.h"
#include "winplatform/gdi.h"
#include "winplatform/gdi_access.h"
#include "winplatform/resources.h"

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

bool readBitmapPixels(HBITMAP bitmap, BitmapPixels* out) {
    if (out == nullptr) return false;
    const auto object = findGdiObjectAs<BitmapObject>(bitmap);
    if (!object) return false;
    const DibImage& image = object->image();
    BitmapPixels pixels;
    pixels.width = image.width;
    pixels.height = image.height;
    pixels.bitsPerPixel = image.bitsPerPixel;
    pixels.luminance.reserve(image.pixels.size());
    for (const std::uint32_t colour : image.pixels) pixels.luminance.push_back(platform::luminanceOf(colour));
    *out = std::move(pixels);
    return true;
}

}  // namespace winplatform

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
