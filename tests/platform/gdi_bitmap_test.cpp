// The pad's screen images as LoadBitmapW serves them from the plug-in module,
// and the life of the bitmap objects.
#include <windows.h>

#include "bitmap_reader.h"
#include "platform_test.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

using sigplus::BitmapPixels;

class ModuleBitmaps : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        module = static_cast<HMODULE>(handle);
        STAND_IN_COUNT(baseline = winplatform::liveGdiObjectCount());
    }
    void TearDown() override {
        for (HBITMAP bitmap : loaded) DeleteObject(bitmap);
        STAND_IN_COUNT(EXPECT_EQ(winplatform::liveGdiObjectCount(), baseline) << "every bitmap a test loads is released");
        dlclose(handle);
    }

    HBITMAP load(WORD id) {
        HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(id));
        if (bitmap != nullptr) loaded.push_back(bitmap);
        return bitmap;
    }

    // The pixels of bitmap `id`, checked against what GetObjectW reports.
    BitmapPixels pixels(WORD id, int width, int height, int bitsPerPixel) {
#if defined(_WIN32)
        // Windows makes a colour resource a bitmap of the screen's format;
        // the stand-in keeps the resource's own bits.
        if (bitsPerPixel > 1) bitsPerPixel = screenBitsPerPixel();
#endif
        BitmapPixels result;
        HBITMAP bitmap = load(id);
        EXPECT_NE(bitmap, nullptr) << "bitmap " << id;
        if (bitmap == nullptr) return result;
        BITMAP description{};
        EXPECT_EQ(GetObjectW(bitmap, sizeof description, &description), static_cast<int>(sizeof description));
        EXPECT_EQ(description.bmWidth, width) << "bitmap " << id;
        EXPECT_EQ(description.bmHeight, height) << "bitmap " << id;
        EXPECT_EQ(description.bmBitsPixel, bitsPerPixel) << "bitmap " << id;
        EXPECT_EQ(description.bmPlanes, 1);
        EXPECT_TRUE(sigplus::readBitmapPixels(bitmap, &result));
        EXPECT_EQ(result.width, width);
        EXPECT_EQ(result.height, height);
        EXPECT_EQ(result.bitsPerPixel, bitsPerPixel);
        EXPECT_EQ(result.luminance.size(), static_cast<std::size_t>(width * height));
        return result;
    }

#if defined(_WIN32)
    static int screenBitsPerPixel() {
        HDC screen = GetDC(nullptr);
        const int bits = GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(nullptr, screen);
        return bits;
    }
#endif

    void* handle = nullptr;
    HMODULE module = nullptr;
    std::size_t baseline = 0;
    std::vector<HBITMAP> loaded;
};

int darkCount(const BitmapPixels& image) {
    int count = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) count += image.isDark(x, y) ? 1 : 0;
    }
    return count;
}

bool onlyBlackAndWhite(const BitmapPixels& image) {
    return std::all_of(image.luminance.begin(), image.luminance.end(),
                       [](std::uint8_t value) { return value == 0 || value == 255; });
}

struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};

// The smallest box round the dark pixels inside the given bounds.
Box darkBox(const BitmapPixels& image, int left, int top, int right, int bottom) {
    Box box;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (!image.isDark(x, y)) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

TEST_F(ModuleBitmaps, BackgroundHasFrameXMarkAndSigningLineOnly) {
    const BitmapPixels image = pixels(11003, 240, 64, 1);
    ASSERT_EQ(image.luminance.size(), 240u * 64u);
    EXPECT_TRUE(onlyBlackAndWhite(image));
    for (const auto& [x, y] : {std::pair{0, 0}, {239, 0}, {0, 63}, {239, 63}, {120, 0}, {120, 63}, {0, 32}, {239, 32}}) {
        EXPECT_TRUE(image.isDark(x, y)) << "frame at " << x << "," << y;
    }
    for (const auto& [x, y] : {std::pair{1, 1}, {238, 1}, {1, 62}, {238, 62}, {120, 30}, {15, 40}, {15, 58}}) {
        EXPECT_FALSE(image.isDark(x, y)) << "inside at " << x << "," << y;
    }
    for (int i = 0; i <= 20; ++i) {
        EXPECT_TRUE(image.isDark(5 + i, 39 + i)) << "falling diagonal, step " << i;
        EXPECT_TRUE(image.isDark(25 - i, 39 + i)) << "rising diagonal, step " << i;
    }
    EXPECT_FALSE(image.isDark(4, 38));
    EXPECT_FALSE(image.isDark(26, 38));
    for (int x = 30; x <= 230; ++x) EXPECT_TRUE(image.isDark(x, 59)) << "line at x " << x;
    EXPECT_FALSE(image.isDark(29, 59));
    EXPECT_FALSE(image.isDark(231, 59));
    EXPECT_FALSE(image.isDark(130, 58));
    EXPECT_FALSE(image.isDark(130, 60));
    // White everywhere else: the frame (2 x 240 + 2 x 62), the X (two
    // diagonals of 21 sharing the centre) and the line (201).
    EXPECT_EQ(darkCount(image), 604 + 41 + 201);
}

// A key: a rounded outline and a caption centred inside it.
void expectKey(const BitmapPixels& image, const char* name) {
    SCOPED_TRACE(name);
    ASSERT_EQ(image.luminance.size(), 48u * 15u);
    EXPECT_TRUE(onlyBlackAndWhite(image));
    for (int x = 3; x <= 44; ++x) {
        EXPECT_TRUE(image.isDark(x, 0)) << "top edge at " << x;
        EXPECT_TRUE(image.isDark(x, 14)) << "bottom edge at " << x;
    }
    for (int y = 3; y <= 11; ++y) {
        EXPECT_TRUE(image.isDark(0, y)) << "left edge at " << y;
        EXPECT_TRUE(image.isDark(47, y)) << "right edge at " << y;
    }
    for (const auto& [x, y] : {std::pair{0, 0}, {47, 0}, {0, 14}, {47, 14}, {1, 0}, {0, 1}}) {
        EXPECT_FALSE(image.isDark(x, y)) << "rounded corner at " << x << "," << y;
    }
    for (const auto& [x, y] : {std::pair{1, 1}, {46, 1}, {1, 13}, {46, 13}}) {
        EXPECT_TRUE(image.isDark(x, y)) << "the curve of the corner at " << x << "," << y;
    }
    // The background inside the outline, left and right of the caption.
    for (int y = 2; y <= 12; ++y) {
        EXPECT_FALSE(image.isDark(3, y)) << "inside at row " << y;
        EXPECT_FALSE(image.isDark(44, y)) << "inside at row " << y;
    }
    const Box caption = darkBox(image, 2, 2, 45, 12);
    ASSERT_GE(caption.right, 0) << "the key has a caption";
    EXPECT_EQ(caption.bottom - caption.top + 1, 7) << "letters seven pixels high";
    EXPECT_LE(std::abs(caption.top - (14 - caption.bottom)), 1) << "centred vertically";
    EXPECT_LE(std::abs(caption.left - (47 - caption.right)), 1) << "centred horizontally";
}

void expectInverse(const BitmapPixels& normal, const BitmapPixels& pressed) {
    ASSERT_EQ(normal.luminance.size(), pressed.luminance.size());
    for (int y = 0; y < normal.height; ++y) {
        for (int x = 0; x < normal.width; ++x) {
            EXPECT_NE(normal.isDark(x, y), pressed.isDark(x, y)) << "at " << x << "," << y;
        }
    }
}

TEST_F(ModuleBitmaps, OkKeyAndItsPressedForm) {
    const BitmapPixels key = pixels(11004, 48, 15, 4);
    expectKey(key, "OK");
    const Box caption = darkBox(key, 2, 2, 45, 12);
    EXPECT_EQ(caption.right - caption.left + 1, 11) << "two letters of five and a gap";
    const BitmapPixels pressed = pixels(11036, 48, 15, 4);
    EXPECT_TRUE(onlyBlackAndWhite(pressed));
    expectInverse(key, pressed);
}

TEST_F(ModuleBitmaps, ResetKeyAndItsPressedForm) {
    const BitmapPixels key = pixels(11005, 48, 15, 4);
    expectKey(key, "RESET");
    const Box caption = darkBox(key, 2, 2, 45, 12);
    EXPECT_EQ(caption.right - caption.left + 1, 29) << "five letters of five and four gaps";
    const BitmapPixels pressed = pixels(11038, 48, 15, 4);
    EXPECT_TRUE(onlyBlackAndWhite(pressed));
    expectInverse(key, pressed);
}

TEST_F(ModuleBitmaps, PromptIsOneCentredLineOnWhite) {
    const BitmapPixels image = pixels(11030, 234, 21, 1);
    ASSERT_EQ(image.luminance.size(), 234u * 21u);
    EXPECT_TRUE(onlyBlackAndWhite(image));
    const Box text = darkBox(image, 0, 0, 233, 20);
    ASSERT_GE(text.right, 0) << "the prompt has text";
    EXPECT_GT(text.left, 0);
    EXPECT_LT(text.right, 233);
    EXPECT_GT(text.top, 0);
    EXPECT_LT(text.bottom, 20);
    EXPECT_GT(text.right - text.left, 150) << "a sentence, not a word";
    EXPECT_LE(std::abs(text.left - (233 - text.right)), 1) << "centred horizontally";
    EXPECT_LT(darkCount(image), 234 * 21 / 4) << "black text on white";
}

TEST_F(ModuleBitmaps, BitmapsCanBeNamedAsNumberText) {
    HBITMAP bitmap = LoadBitmapW(module, wide(u"#11004"));
    ASSERT_NE(bitmap, nullptr);
    loaded.push_back(bitmap);
    BITMAP description{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof description, &description), static_cast<int>(sizeof description));
    EXPECT_EQ(description.bmWidth, 48);
}

TEST_F(ModuleBitmaps, MissingBitmapsAreRefused) {
    SetLastError(0);
    EXPECT_EQ(load(11099), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(load(11002), nullptr) << "a dialog's ID is not a bitmap";
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(11003)), nullptr) << "no system bitmaps";
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveGdiObjectCount(), baseline));
}

TEST_F(ModuleBitmaps, DeleteObjectReleasesOnceOnly) {
    const WORD ids[] = {11003, 11004, 11005, 11030, 11036, 11038};
    std::vector<HBITMAP> bitmaps;
    for (const WORD id : ids) {
        HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(id));
        ASSERT_NE(bitmap, nullptr) << id;
        bitmaps.push_back(bitmap);
    }
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveGdiObjectCount(), baseline + 6));
    HBITMAP again = LoadBitmapW(module, MAKEINTRESOURCEW(11003));
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, bitmaps[0]) << "each load is an object of its own";
    EXPECT_TRUE(DeleteObject(again));

    for (HBITMAP bitmap : bitmaps) EXPECT_TRUE(DeleteObject(bitmap));
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveGdiObjectCount(), baseline));

    SetLastError(0);
    EXPECT_FALSE(DeleteObject(bitmaps[0]));
    // Wine refuses the stale handle without naming the error.
    EXPECT_EQ(GetLastError(), kOnWindows ? 0u : ERROR_INVALID_HANDLE);
    BITMAP description{};
    EXPECT_EQ(GetObjectW(bitmaps[0], sizeof description, &description), 0);
    BitmapPixels stale;
    EXPECT_FALSE(sigplus::readBitmapPixels(bitmaps[0], &stale));
    EXPECT_EQ(stale.width, 0) << "left untouched";

    HBITMAP later = LoadBitmapW(module, MAKEINTRESOURCEW(11003));
    ASSERT_NE(later, nullptr);
    EXPECT_TRUE(std::find(bitmaps.begin(), bitmaps.end(), later) == bitmaps.end()) << "handles are not reused";
    EXPECT_TRUE(DeleteObject(later));
}

TEST_F(ModuleBitmaps, HandlesThatAreNoBitmapsAreRefused) {
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(0x05000001))));
    BITMAP description{};
    EXPECT_EQ(GetObjectW(nullptr, sizeof description, &description), 0);
    BitmapPixels out;
    EXPECT_FALSE(sigplus::readBitmapPixels(nullptr, &out));
    HBITMAP bitmap = load(11004);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_FALSE(sigplus::readBitmapPixels(bitmap, nullptr));
}

// Bottom-up requests number their lines from the image's last row; what
// the platform does not serve is refused with the reason.
TEST_F(ModuleBitmaps, GetDIBitsCopiesLinesInEitherOrder) {
    HBITMAP bitmap = load(11004);
    ASSERT_NE(bitmap, nullptr);
    const BitmapPixels image = pixels(11004, 48, 15, 4);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, 48, 15, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> rows(48 * 2);
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDIBits(screen, bitmap, 13, 5, rows.data(), &info, DIB_RGB_COLORS), 2) << "the last two lines";
    for (int x = 0; x < 48; ++x) {
        EXPECT_EQ(sigplus::luminanceOf(rows[static_cast<std::size_t>(x)] & 0xFFFFFFu), image.at(x, 1)) << x;
        EXPECT_EQ(sigplus::luminanceOf(rows[static_cast<std::size_t>(48 + x)] & 0xFFFFFFu), image.at(x, 0)) << x;
    }
#if !defined(_WIN32)  // Windows serves every format; the stand-in serves 32 bits only.
    info.bmiHeader.biBitCount = 24;
    SetLastError(0);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(GetDIBits(screen, bitmap, 0, 1, rows.data(), &info, DIB_RGB_COLORS), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("fixme: GetDIBits"), std::string::npos);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    info.bmiHeader.biBitCount = 32;
#endif
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 1, rows.data(), &info, DIB_RGB_COLORS), 0);
    // Wine names a missing device context an invalid parameter.
    EXPECT_EQ(GetLastError(), kOnWindows ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST_F(ModuleBitmaps, GetObjectNamesItsSizeAndNeedsRoom) {
    HBITMAP bitmap = load(11003);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(GetObjectW(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    BITMAP description{};
    description.bmWidth = -7;
    SetLastError(0);
    EXPECT_EQ(GetObjectW(bitmap, sizeof description - 1, &description), 0);
    // Wine refuses the short buffer without naming the error.
    EXPECT_EQ(GetLastError(), kOnWindows ? 0u : ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(description.bmWidth, -7) << "nothing written into a short buffer";
    ASSERT_EQ(GetObjectW(bitmap, sizeof description, &description), static_cast<int>(sizeof description));
    EXPECT_EQ(description.bmWidthBytes, 30) << "240 one-bit pixels, padded to 16 bits";
    EXPECT_EQ(description.bmBits, nullptr);
}

}  // namespace
