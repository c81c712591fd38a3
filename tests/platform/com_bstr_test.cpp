#include "com_test_objects.h"

#include "platform_test.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::uint32_t prefixOf(BSTR text) {
    std::uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char*>(text) - 4, 4);
    return prefix;
}

TEST(Bstr, CarriesItsByteLengthBeforeTheTextAndAZeroAfterIt) {
    BSTR text = SysAllocStringLen(wide(u"Order 1042"), 10);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(prefixOf(text), 20u);
    EXPECT_EQ(SysStringLen(text), 10u);
    EXPECT_EQ(SysStringByteLen(text), 20u);
    EXPECT_EQ(std::u16string(utf16(text), 10), u"Order 1042");
    EXPECT_EQ(text[10], u'\0');
    SysFreeString(text);
}

TEST(Bstr, KeepsEmbeddedZeros) {
    const char16_t source[] = {u'a', 0, u'b', 0, u'c'};
    BSTR text = SysAllocStringLen(wide(source), 5);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(std::u16string(utf16(text), 5), std::u16string(source, 5));
    SysFreeString(text);
}

TEST(Bstr, FromATerminatedTextStopsAtTheTerminator) {
    BSTR text = SysAllocString(wide(u"abc"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 3u);
    SysFreeString(text);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
}

TEST(Bstr, WithoutASourceIsZeroFilledAndOfTheGivenLength) {
    BSTR text = SysAllocStringLen(nullptr, 4);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 4u);
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(text[i], u'\0');
    SysFreeString(text);
}

TEST(Bstr, OfAnOddByteLengthCountsWholeUnits) {
    BSTR text = SysAllocStringByteLen("xyz", 3);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringByteLen(text), 3u);
    EXPECT_EQ(SysStringLen(text), 1u);
    SysFreeString(text);
}

TEST(Bstr, LiveCountFollowsAllocationAndFreeing) {
    SKIP_STAND_IN_COUNT_CASE();
    STAND_IN_COUNT(const std::size_t before = winplatform::liveBstrCount());
    BSTR a = SysAllocString(wide(u"a"));
    BSTR b = SysAllocStringLen(wide(u"bb"), 2);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before + 2));
    SysFreeString(a);
    SysFreeString(nullptr);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before + 1));
    SysFreeString(b);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before));
}

TEST(Variant, InitMakesItEmpty) {
    VARIANT v;
    std::memset(&v, 0xAB, sizeof v);
    VariantInit(&v);
    EXPECT_EQ(v.vt, VT_EMPTY);
}

TEST(Variant, ClearFreesAnOwnedBstr) {
    STAND_IN_COUNT(const std::size_t before = winplatform::liveBstrCount());
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(wide(u"owned"));
    STAND_IN_COUNT(ASSERT_EQ(winplatform::liveBstrCount(), before + 1));
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before));
}

TEST(Variant, ClearLeavesABstrHeldByReference) {
    BSTR text = SysAllocString(wide(u"borrowed"));
    STAND_IN_COUNT(const std::size_t before = winplatform::liveBstrCount());
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR | VT_BYREF;
    v.pbstrVal = &text;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before));
    EXPECT_EQ(SysStringLen(text), 8u);
    SysFreeString(text);
}

TEST(Variant, ClearReleasesAnInterface) {
    CountedObject object;
    object.AddRef();
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UNKNOWN;
    v.punkVal = &object;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(object.references, 1u);
}

TEST(Variant, ClearRefusesAnUnknownTypeAndLeavesIt) {
    VARIANT v;
    VariantInit(&v);
    v.vt = 0x0FFE;
    v.lVal = 7;
    EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
    EXPECT_EQ(v.vt, 0x0FFE);
    EXPECT_EQ(v.lVal, 7);
}

TEST(Variant, CopyOwnsItsOwnBstrAndReference) {
    STAND_IN_COUNT(const std::size_t before = winplatform::liveBstrCount());
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(wide(u"copied"));
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    ASSERT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, source.bstrVal);
    EXPECT_EQ(std::u16string(utf16(copy.bstrVal), SysStringLen(copy.bstrVal)), u"copied");
    VariantClear(&source);
    VariantClear(&copy);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before));

    CountedObject object;
    VARIANT unknown;
    VariantInit(&unknown);
    unknown.vt = VT_UNKNOWN;
    unknown.punkVal = &object;
    ASSERT_EQ(VariantCopy(&copy, &unknown), S_OK);
    EXPECT_EQ(object.references, 2u);
    VariantClear(&copy);
    EXPECT_EQ(object.references, 1u);
}

}  // namespace
