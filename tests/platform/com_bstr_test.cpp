#include "com_test_objects.h"

#include "winplatform/diagnostics.h"

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
    BSTR text = SysAllocStringLen(u"Order 1042", 10);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(prefixOf(text), 20u);
    EXPECT_EQ(SysStringLen(text), 10u);
    EXPECT_EQ(SysStringByteLen(text), 20u);
    EXPECT_EQ(std::u16string(text, 10), u"Order 1042");
    EXPECT_EQ(text[10], u'\0');
    SysFreeString(text);
}

TEST(Bstr, KeepsEmbeddedZeros) {
    const char16_t source[] = {u'a', 0, u'b', 0, u'c'};
    BSTR text = SysAllocStringLen(source, 5);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(std::u16string(text, 5), std::u16string(source, 5));
    SysFreeString(text);
}

TEST(Bstr, FromATerminatedTextStopsAtTheTerminator) {
    BSTR text = SysAllocString(u"abc");
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
    const std::size_t before = winplatform::liveBstrCount();
    BSTR a = SysAllocString(u"a");
    BSTR b = SysAllocStringLen(u"bb", 2);
    EXPECT_EQ(winplatform::liveBstrCount(), before + 2);
    SysFreeString(a);
    SysFreeString(nullptr);
    EXPECT_EQ(winplatform::liveBstrCount(), before + 1);
    SysFreeString(b);
    EXPECT_EQ(winplatform::liveBstrCount(), before);
}

TEST(Variant, InitMakesItEmpty) {
    VARIANT v;
    std::memset(&v, 0xAB, sizeof v);
    VariantInit(&v);
    EXPECT_EQ(v.vt, VT_EMPTY);
}

TEST(Variant, ClearFreesAnOwnedBstr) {
    const std::size_t before = winplatform::liveBstrCount();
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(u"owned");
    ASSERT_EQ(winplatform::liveBstrCount(), before + 1);
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(winplatform::liveBstrCount(), before);
}

TEST(Variant, ClearLeavesABstrHeldByReference) {
    BSTR text = SysAllocString(u"borrowed");
    const std::size_t before = winplatform::liveBstrCount();
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR | VT_BYREF;
    v.pbstrVal = &text;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(winplatform::liveBstrCount(), before);
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
    const std::size_t before = winplatform::liveBstrCount();
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(u"copied");
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    ASSERT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, source.bstrVal);
    EXPECT_EQ(std::u16string(copy.bstrVal, SysStringLen(copy.bstrVal)), u"copied");
    VariantClear(&source);
    VariantClear(&copy);
    EXPECT_EQ(winplatform::liveBstrCount(), before);

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
