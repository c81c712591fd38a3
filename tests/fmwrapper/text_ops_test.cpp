#include "host_fixture.h"

using TextOps = HostTest;

TEST_F(TextOps, GetUnicodeCopiesOnlyWhatTheTextHas) {
    fmx::Text* text = makeText(u"abc");
    std::u16string buffer(5, u'#');

    FM_Text_GetUnicode(text, buffer.data(), 0, 4, err);
    EXPECT_EQ(buffer, u"abc##");
    FM_Text_GetUnicode(text, buffer.data(), 2, 3, err);
    EXPECT_EQ(buffer, u"cbc##");
    buffer.assign(5, u'#');
    FM_Text_GetUnicode(text, buffer.data(), 3, 2, err);
    FM_Text_GetUnicode(text, buffer.data(), 100, 2, err);
    EXPECT_EQ(buffer, u"#####");
    EXPECT_EQ(fmw::misuseCount(), 0u);
    FM_Text_Delete(text, err);
}

TEST_F(TextOps, FindSearchesFromThePosition) {
    fmx::Text* text = makeText(u"abcabc");
    fmx::Text* bc = makeText(u"bc");
    fmx::Text* missing = makeText(u"cab!");
    fmx::Text* empty = makeText(u"");

    EXPECT_EQ(FM_Text_Find(text, bc, 0, err), 1u);
    EXPECT_EQ(FM_Text_Find(text, bc, 2, err), 4u);
    EXPECT_EQ(FM_Text_Find(text, bc, 5, err), kTextNotFound);
    EXPECT_EQ(FM_Text_Find(text, missing, 0, err), kTextNotFound);
    EXPECT_EQ(FM_Text_Find(text, text, 0, err), 0u);
    EXPECT_EQ(FM_Text_Find(text, empty, 6, err), 6u);
    EXPECT_EQ(FM_Text_Find(text, empty, 7, err), kTextNotFound);
    EXPECT_EQ(FM_Text_Find(empty, bc, 0, err), kTextNotFound);
    for (fmx::Text* t : {text, bc, missing, empty}) FM_Text_Delete(t, err);
}

TEST_F(TextOps, DeleteTextStopsAtTheEnd) {
    fmx::Text* text = makeText(u"abcdef");
    FM_Text_DeleteText(text, 1, 2, err);
    EXPECT_EQ(read(text), u"adef");
    FM_Text_DeleteText(text, 2, 100, err);
    EXPECT_EQ(read(text), u"ad");
    FM_Text_DeleteText(text, 2, 1, err);
    FM_Text_DeleteText(text, 9, 1, err);
    EXPECT_EQ(read(text), u"ad");
    EXPECT_EQ(fmw::misuseCount(), 0u);
    FM_Text_Delete(text, err);
}

TEST_F(TextOps, AssignDecodesNativeAsWindows1252AndOneAsUtf8) {
    fmx::Text* text = makeText(u"old");
    FM_Text_Assign(text, "\x80\x81\x8A\x9F\xE9z", kEncodingNative, err);
    EXPECT_EQ(read(text), u"\u20AC\uFFFD\u0160\u0178\u00E9z");
    FM_Text_Assign(text, "\xC3\xA9\xE2\x82\xAC", 1, err);
    EXPECT_EQ(read(text), u"\u00E9\u20AC");
    EXPECT_EQ(fmw::misuseCount(), 0u);

    FM_Text_Assign(text, "x", 7, err);
    EXPECT_EQ(fmw::misuseCount(), 1u);
    EXPECT_EQ(read(text), u"\u00E9\u20AC");
    FM_Text_AssignUnicode(text, u"", err);
    EXPECT_EQ(FM_Text_GetSize(text, err), 0u);
    FM_Text_Delete(text, err);
}
