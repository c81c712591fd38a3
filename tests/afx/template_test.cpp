// The dialog layouts and the control's saved state as the module carries
// them, read the way the framework reads them.
#include <afxtemplate.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

class ModuleTemplates : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    void TearDown() override { dlclose(handle); }

    std::span<const BYTE> resource(WORD id, LPCWSTR type) {
        auto* module = static_cast<HMODULE>(handle);
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        if (found == nullptr) return {};
        return {static_cast<const BYTE*>(LockResource(LoadResource(module, found))), SizeofResource(module, found)};
    }

    void* handle = nullptr;
};

TEST_F(ModuleTemplates, CaptureDialogLayout) {
    const auto dialog = afx::parseDialogTemplate(resource(11002, RT_DIALOG));
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->title, u"Capturing Signature");
    EXPECT_EQ(dialog->cx, 306);
    EXPECT_EQ(dialog->cy, 78);
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_EQ(dialog->typeface, u"MS Sans Serif");
    EXPECT_EQ(dialog->style, 0x80000000u | 0x00C00000u | 0x00080000u | 0x80u | 0x40u);
    ASSERT_EQ(dialog->items.size(), 4u);

    const afx::DialogItem& ok = dialog->items[0];
    EXPECT_EQ(ok.id, 1u);
    EXPECT_EQ(ok.title.text, u"OK");
    EXPECT_EQ(ok.windowClass.number, afx::kButtonClass);
    EXPECT_EQ(ok.style & 0xF, 1u) << "the default push button";
    EXPECT_EQ(dialog->items[1].id, 2u);
    EXPECT_EQ(dialog->items[1].title.text, u"Cancel");

    const afx::DialogItem& control = dialog->items[2];
    EXPECT_EQ(control.id, 11000u);
    EXPECT_EQ(control.windowClass.kind, afx::NameOrNumber::Kind::Text);
    EXPECT_EQ(control.windowClass.text, u"{69A40DA3-4D42-11D0-86B0-0000C025864A}");
    EXPECT_EQ(control.x, 7);
    EXPECT_EQ(control.cx, 240);
    EXPECT_EQ(control.cy, 64);
    EXPECT_NE(control.style & 0x10000000u, 0u) << "visible";
    EXPECT_NE(control.style & 0x00010000u, 0u) << "tab stop";

    EXPECT_EQ(dialog->items[3].id, 11006u);
    EXPECT_EQ(dialog->items[3].title.text, u"Clear");
    EXPECT_EQ(dialog->items[3].y, 57);
}

TEST_F(ModuleTemplates, ControlSavedStateIsExactlyThe129Bytes) {
    const auto entries = afx::parseDialogInit(resource(11002, RT_DLGINIT));
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 1u);
    const afx::DialogInitEntry& entry = entries->front();
    EXPECT_EQ(entry.controlId, 11000);
    EXPECT_EQ(entry.message, 0x0376);
    ASSERT_EQ(entry.data.size(), 129u);
    const std::vector<BYTE> head = {0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0x02, 0x00, 0x35, 0x25, 0x00, 0x00,
                                    0xc0, 0x0a, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                    0xec, 0xe9, 0xd8, 0x00};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), entry.data.begin()));
    EXPECT_EQ(entry.data[0x30], 0x04);
    EXPECT_EQ(entry.data[0x6F], 0x01);
    EXPECT_EQ(entry.data[0x7E], 0x01);
    EXPECT_EQ(entry.data[128], 0x00);
}

TEST_F(ModuleTemplates, ErrorDialogLayout) {
    const auto dialog = afx::parseDialogTemplate(resource(11016, RT_DIALOG));
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->title, u"Plug-In Error");
    EXPECT_EQ(dialog->cx, 314);
    EXPECT_EQ(dialog->cy, 129);
    ASSERT_EQ(dialog->items.size(), 2u);
    EXPECT_EQ(dialog->items[1].id, 11013u);
    EXPECT_EQ(dialog->items[1].windowClass.number, afx::kEditClass);
    EXPECT_TRUE(resource(11010, RT_DIALOG).empty()) << "the preferences layout is not in the module";
}

TEST_F(ModuleTemplates, CutTemplatesAreRefusedAtEveryLength) {
    const auto full = resource(11002, RT_DIALOG);
    ASSERT_FALSE(full.empty());
    // The last item may end without padding, so only cuts inside it fail.
    for (std::size_t length = 0; length + 4 < full.size(); ++length) {
        EXPECT_FALSE(afx::parseDialogTemplate(full.first(length)).has_value()) << "cut at " << length;
    }
    const auto init = resource(11002, RT_DLGINIT);
    for (std::size_t length = 0; length < init.size(); ++length) {
        EXPECT_FALSE(afx::parseDialogInit(init.first(length)).has_value()) << "cut at " << length;
    }
}

TEST(DialogInit, EmptyDataIsJustTheTerminator) {
    const BYTE terminator[] = {0, 0};
    const auto entries = afx::parseDialogInit(terminator);
    ASSERT_TRUE(entries.has_value());
    EXPECT_TRUE(entries->empty());
    const BYTE hugeLength[] = {0xF8, 0x2A, 0x76, 0x03, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 0, 0};
    EXPECT_FALSE(afx::parseDialogInit(hugeLength).has_value());
}

}  // namespace
