#include <ole2.h>

#include "com_test_objects.h"
#include "platform_test.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Guid, ParsesTheBracedTextForm) {
    CLSID parsed{};
    ASSERT_EQ(CLSIDFromString(wide(u"{69A40DA3-4D42-11D0-86B0-0000C025864A}"), &parsed), S_OK);
    EXPECT_EQ(parsed, kSigPlus);
    IID lower{};
    ASSERT_EQ(IIDFromString(wide(u"{69a40da3-4d42-11d0-86b0-0000c025864a}"), &lower), S_OK);
    EXPECT_TRUE(IsEqualIID(lower, kSigPlus));
}

TEST(Guid, ComparesEveryField) {
    CLSID other = kSigPlus;
    other.Data4[7] = 0x4B;
    EXPECT_FALSE(IsEqualCLSID(other, kSigPlus));
    other = kSigPlus;
    other.Data3 = 0x11D1;
    EXPECT_NE(other, kSigPlus);
    EXPECT_EQ(kSigPlus, kSigPlus);
}

TEST(Guid, RefusesMalformedTextAndZeroesTheResult) {
    const char16_t* malformed[] = {
        u"69A40DA3-4D42-11D0-86B0-0000C025864A",    // no braces
        u"{69A40DA3-4D42-11D0-86B0-0000C025864A",   // no closing brace
        u"{69A40DA3-4D42-11D0-86B0-0000C025864A}x", // trailing text
        u"{69A40DA3-4D42-11D0-86B00000C025864A}",   // a dash missing
        u"{69A40DA3-4D42-11D0-86B0-0000C025864G}",  // not hexadecimal
        u"{69A40DA3+4D42-11D0-86B0-0000C025864A}",  // wrong separator
        u"",
    };
    for (const char16_t* text : malformed) {
        CLSID clsid = kSigPlus;
        EXPECT_EQ(CLSIDFromString(wide(text), &clsid), CO_E_CLASSSTRING) << std::u16string(text).size();
        // Wine zeroes the result only for a text that does not start with a
        // brace, and leaves it as it was otherwise; the stand-in zeroes it.
        EXPECT_EQ(clsid, kOnWindows && text[0] == u'{' ? kSigPlus : CLSID_NULL);
        IID iid = kSigPlus;
#if defined(_WIN32)
        // Wine answers E_INVALIDARG for a text of the wrong length only, and
        // CO_E_IIDSTRING for one of the right length; the stand-in E_INVALIDARG.
        EXPECT_EQ(IIDFromString(wide(text), &iid),
                  std::u16string(text).size() == 38 ? CO_E_IIDSTRING : E_INVALIDARG);
#else
        EXPECT_EQ(IIDFromString(wide(text), &iid), E_INVALIDARG);
#endif
    }
    CLSID clsid = kSigPlus;
    EXPECT_EQ(CLSIDFromString(nullptr, &clsid), S_OK) << "no text is the null class";
    EXPECT_EQ(clsid, CLSID_NULL);
}

TEST(Guid, TextFormRoundTrips) {
    OLECHAR text[39];
    ASSERT_EQ(StringFromGUID2(kSigPlus, text, 39), 39);
    EXPECT_EQ(std::u16string(utf16(text)), u"{69A40DA3-4D42-11D0-86B0-0000C025864A}");
    CLSID back{};
    ASSERT_EQ(CLSIDFromString(text, &back), S_OK);
    EXPECT_EQ(back, kSigPlus);
    EXPECT_EQ(StringFromGUID2(kSigPlus, text, 38), 0);
}

TEST(Guid, WellKnownInterfacesHaveTheirIdentifiers) {
    IID parsed{};
    ASSERT_EQ(IIDFromString(wide(u"{00020400-0000-0000-C000-000000000046}"), &parsed), S_OK);
    EXPECT_EQ(parsed, IID_IDispatch);
    ASSERT_EQ(IIDFromString(wide(u"{00000000-0000-0000-C000-000000000046}"), &parsed), S_OK);
    EXPECT_EQ(parsed, IID_IUnknown);
    ASSERT_EQ(IIDFromString(wide(u"{00000001-0000-0000-C000-000000000046}"), &parsed), S_OK);
    EXPECT_EQ(parsed, IID_IClassFactory);
}

}  // namespace
