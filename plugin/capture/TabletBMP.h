// One image of the pad's screen and its place there.
#pragma once

#include "CSigPlus.h"

#include <platform/unique_handle.h>
#include <windows.h>

#include <cstdint>

class TabletBMP {
public:
    // Loads bitmap `bitmapId` from the module; if it cannot be loaded the
    // handle stays empty and drawing sends an empty handle.
    TabletBMP(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, UINT bitmapId);
    virtual ~TabletBMP() = default;
    TabletBMP(const TabletBMP&) = delete;
    TabletBMP& operator=(const TabletBMP&) = delete;

    void draw(CSigPlus& pad) const;
    // A touch key over the image; keys lie 5 pixels lower than their image
    // (see docs/compatibility.md).
    void defineKey(std::int16_t index, CSigPlus& pad) const;

    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;

private:
    platform::UniqueGdiObject<HBITMAP> bitmap_;
};
