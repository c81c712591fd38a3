#include "host_fixture.h"

#include "platform/utf.h"

#include <cmath>
#include <limits>

TEST(Conversions, TextToNumberReadsDigitsInOrder) {
    EXPECT_EQ(fmw::textToNumber(u"12 apples"), 12.0);
    EXPECT_EQ(fmw::textToNumber(u"a-1b2"), -12.0);
    EXPECT_EQ(fmw::textToNumber(u"3.7"), 3.7);
    EXPECT_EQ(fmw::textToNumber(u"1.2.3"), 1.23);
    EXPECT_EQ(fmw::textToNumber(u".5"), 0.5);
    EXPECT_EQ(fmw::textToNumber(u"5-"), 5.0);
    EXPECT_EQ(fmw::textToNumber(u""), 0.0);
    EXPECT_EQ(fmw::textToNumber(u"-.x"), 0.0);
    EXPECT_EQ(fmw::textToNumber(u"\uFF11"), 0.0);  // only ASCII digits count
    EXPECT_TRUE(std::isinf(fmw::textToNumber(std::u16string(400, u'9'))));
}

TEST(Conversions, NumberToTextIsShortestAndPlain) {
    EXPECT_EQ(fmw::numberToText(3.0), u"3");
    EXPECT_EQ(fmw::numberToText(3.7), u"3.7");
    EXPECT_EQ(fmw::numberToText(-0.5), u"-0.5");
    EXPECT_EQ(fmw::numberToText(-0.0), u"0");
    EXPECT_EQ(fmw::numberToText(1e6), u"1000000");
    EXPECT_EQ(fmw::numberToText(0.1 + 0.2), u"0.30000000000000004");
    EXPECT_EQ(fmw::numberToText(1e21), u"1e+21");
    for (double x : {1.0 / 3.0, -123456.789, 1e-7, 2.5e-300, 9007199254740993.0}) {
        EXPECT_EQ(std::stod(platform::utf16ToUtf8(fmw::numberToText(x))), x);
    }
}

TEST(Conversions, NumberToLongTruncatesAndSaturates) {
    EXPECT_EQ(fmw::numberToLong(3.7), 3);
    EXPECT_EQ(fmw::numberToLong(-3.7), -3);
    EXPECT_EQ(fmw::numberToLong(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(fmw::numberToLong(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(fmw::numberToLong(-2147483647.9), -2147483647);
    EXPECT_EQ(fmw::numberToLong(std::nan("")), 0);
    EXPECT_EQ(fmw::numberToLong(-std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::min());
}

using ParameterConversions = HostTest;

TEST_F(ParameterConversions, VectorHandsOutValuesAsTextAndNumber) {
    fmw::Container withName;
    withName.fileName = u"12 photo.gif";
    const fmw::ParameterVector params({fmw::Value::text(u"12 apples"), fmw::Value::number(-3.7),
                                       fmw::Value::container(withName), fmw::Value::container({}), fmw::Value()});
    ASSERT_EQ(FM_DataVect_Size(params.get(), err), 5u);

    // A container's text is its file name, but it never reads as a number.
    const char16_t* texts[] = {u"12 apples", u"-3.7", u"12 photo.gif", u"", u""};
    const int32_t longs[] = {12, -3, 0, 0, 0};
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(read(FM_DataVect_AtAsText(params.get(), i, err)), texts[i]) << i;
        EXPECT_EQ(FM_FixPt_AsLong(FM_DataVect_AtAsNumber(params.get(), i, err), err), longs[i]) << i;
    }
    EXPECT_EQ(fmw::misuseCount(), 0u);
}
