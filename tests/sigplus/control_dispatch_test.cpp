// The control's dispatch interface: every member with its types, and the
// refusals an IDispatch gives for anything else.
#include "sigplus_fixture.h"

namespace {

using namespace sigplus_test;
namespace d = sigplus::dispid;

enum class T { I2, I4, BstrRef };

struct MethodCase {
    DISPID id;
    const char* name;
    std::vector<T> arguments;
    VARTYPE result;  // VT_EMPTY for none
};

// The members as the plug-in uses them.
const std::vector<MethodCase> kMethods = {
    {d::ClearInk, "ClearInk", {}, VT_EMPTY},
    {d::InkPointCount, "InkPointCount", {}, VT_I2},
    {d::SignaturePointCount, "SignaturePointCount", {}, VT_I2},
    {d::BindBegin, "BindBegin", {}, VT_EMPTY},
    {d::BindAddText, "BindAddText", {T::BstrRef}, VT_EMPTY},
    {d::BindEnd, "BindEnd", {}, VT_EMPTY},
    {d::DisplaySetup, "DisplaySetup", {T::I2, T::I2, T::I2, T::I2, T::I2, T::I2, T::I2}, VT_EMPTY},
    {d::DisplayInkArea, "DisplayInkArea", {T::I2, T::I2, T::I2, T::I2, T::I2}, VT_EMPTY},
    {d::InkAreaSet, "InkAreaSet", {T::I2, T::I2, T::I2, T::I2}, VT_BOOL},
    {d::DisplayBitmap, "DisplayBitmap", {T::I2, T::I2, T::I2, T::I2, T::I2, T::I2, T::I4}, VT_BOOL},
    {d::DisplayClearArea, "DisplayClearArea", {T::I2, T::I2, T::I2, T::I2, T::I2}, VT_BOOL},
    {d::HotSpotDefine, "HotSpotDefine", {T::I2, T::I2, T::I2, T::I2, T::I2, T::I2}, VT_EMPTY},
    {d::HotSpotTouched, "HotSpotTouched", {T::I2}, VT_I2},
    {d::HotSpotReset, "HotSpotReset", {T::I2}, VT_EMPTY},
    {d::PadRefresh, "PadRefresh", {T::I2}, VT_EMPTY},
    {d::PadReset, "PadReset", {}, VT_EMPTY},
    {d::RenderToBuffer, "RenderToBuffer", {}, VT_EMPTY},
    {d::RenderBufferSize, "RenderBufferSize", {}, VT_I4},
    {d::RenderBufferByte, "RenderBufferByte", {T::I4}, VT_I2},
    {d::RenderBufferRelease, "RenderBufferRelease", {}, VT_EMPTY},
};

struct PropertyCase {
    DISPID id;
    const char* name;
    VARTYPE type;
};

const std::vector<PropertyCase> kProperties = {
    {d::RenderOption, "RenderOption", VT_I2}, {d::RenderWidth, "RenderWidth", VT_I2},
    {d::RenderHeight, "RenderHeight", VT_I2}, {d::RenderPenWidth, "RenderPenWidth", VT_I2},
    {d::InkSpanX, "InkSpanX", VT_I2},         {d::InkSpanY, "InkSpanY", VT_I2},
    {d::PadXFrom, "PadXFrom", VT_I2},         {d::PadYFrom, "PadYFrom", VT_I2},
    {d::PadXTo, "PadXTo", VT_I2},             {d::PadYTo, "PadYTo", VT_I2},
    {d::PadPort, "PadPort", VT_I2},           {d::PackingMode, "PackingMode", VT_I2},
    {d::CipherMode, "CipherMode", VT_I2},     {d::InkEnabled, "InkEnabled", VT_I2},
    {d::RenderFormat, "RenderFormat", VT_I2}, {d::SignatureText, "SignatureText", VT_BSTR},
    {d::PadKind, "PadKind", VT_I2},           {d::DisplayMode, "DisplayMode", VT_I4},
};

class Dispatch : public ControlTest {};

TEST_F(Dispatch, AnswersForTheDispatchInterfaceAsOneObject) {
    Control control;
    ASSERT_EQ(control.created, S_OK);
    IUnknown* viaUnknown = nullptr;
    IDispatch* viaDispatch = nullptr;
    ASSERT_EQ(control.dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaUnknown)), S_OK);
    ASSERT_EQ(control.dispatch->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&viaDispatch)), S_OK);
    IUnknown* identity = nullptr;
    ASSERT_EQ(viaDispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, viaUnknown);
    identity->Release();
    viaDispatch->Release();
    viaUnknown->Release();
    void* other = &other;
    EXPECT_EQ(control.dispatch->QueryInterface(IID_IClassFactory, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
}

TEST_F(Dispatch, EveryMethodTakesItsArgumentsAndGivesItsResultType) {
    Control control;
    ASSERT_EQ(control.created, S_OK);
    BSTR text = SysAllocString(u"bound");
    for (const MethodCase& m : kMethods) {
        SCOPED_TRACE(m.name);
        // Members that only work in a state get it first.
        if (m.id == d::BindAddText || m.id == d::BindEnd) {
            ASSERT_EQ(control.call(d::BindBegin), S_OK);
        }
        if (m.id == d::RenderBufferByte) {
            ASSERT_EQ(control.call(d::RenderToBuffer), S_OK);
        }
        std::vector<VARIANT> arguments;
        for (const T t : m.arguments) {
            arguments.push_back(t == T::I2 ? i2(1) : t == T::I4 ? i4(0) : bstrRef(&text));
        }
        VARIANT result;
        EXPECT_EQ(control.call(m.id, arguments, &result), S_OK);
        EXPECT_EQ(result.vt, m.result);
        VariantClear(&result);
        const auto entries = sigplus::journal();
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries.back().member, m.name);
        EXPECT_EQ(entries.back().kind, sigplus::CallKind::Method);
        EXPECT_EQ(entries.back().arguments.size(), m.arguments.size());
    }
    SysFreeString(text);
}

TEST_F(Dispatch, EveryPropertyIsPutAndReadBackWithItsType) {
    Control control;
    ASSERT_EQ(control.created, S_OK);
    for (const PropertyCase& p : kProperties) {
        SCOPED_TRACE(p.name);
        if (p.type == VT_BSTR) {
            EXPECT_EQ(control.putText(p.id, u"SIG1:not-a-signature"), S_OK);
            EXPECT_EQ(control.getText(p.id), u"");  // no ink to encode
            continue;
        }
        EXPECT_EQ(control.put(p.id, p.type == VT_I2 ? i2(7) : i4(7)), S_OK);
        VARIANT value;
        ASSERT_EQ(control.get(p.id, value), S_OK);
        ASSERT_EQ(value.vt, p.type);
        EXPECT_EQ(p.type == VT_I2 ? value.iVal : value.lVal, 7);
        const auto entries = sigplus::journal();
        ASSERT_GE(entries.size(), 2u);
        EXPECT_EQ(entries[entries.size() - 2].member, p.name);
        EXPECT_EQ(entries[entries.size() - 2].kind, sigplus::CallKind::Put);
        EXPECT_EQ(entries.back().kind, sigplus::CallKind::Get);
        EXPECT_EQ(entries.back().result, "7");
    }
}

TEST_F(Dispatch, APropertyOfTheWrongTypeIsATypeMismatchAndChangesNothing) {
    Control control;
    ASSERT_EQ(control.putI2(d::PackingMode, 3), S_OK);
    EXPECT_EQ(control.put(d::PackingMode, i4(5)), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(control.put(d::DisplayMode, i2(1)), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(control.put(d::SignatureText, i2(1)), DISP_E_TYPEMISMATCH);
    VARIANT value;
    ASSERT_EQ(control.get(d::PackingMode, value), S_OK);
    EXPECT_EQ(value.iVal, 3);
}

TEST_F(Dispatch, APutNeedsItsNamedArgumentAndOneValue) {
    Control control;
    VARIANT value = i2(1);
    DISPPARAMS unnamed{&value, nullptr, 1, 0};
    EXPECT_EQ(control.dispatch->Invoke(d::RenderWidth, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr,
                                       nullptr),
              DISP_E_PARAMNOTFOUND);
    VARIANT two[2] = {i2(1), i2(2)};
    DISPID named[2] = {DISPID_PROPERTYPUT, DISPID_PROPERTYPUT};
    DISPPARAMS twoValues{two, named, 2, 2};
    EXPECT_EQ(control.dispatch->Invoke(d::RenderWidth, IID_NULL, 0, DISPATCH_PROPERTYPUT, &twoValues, nullptr,
                                       nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
}

TEST_F(Dispatch, AMethodArgumentOfTheWrongTypeIsATypeMismatchNamingItsSlot) {
    Control control;
    UINT slot = 99;
    BSTR plain = SysAllocString(u"Order 1042");
    VARIANT byValue;
    VariantInit(&byValue);
    byValue.vt = VT_BSTR;
    byValue.bstrVal = plain;
    ASSERT_EQ(control.call(d::BindBegin), S_OK);
    EXPECT_EQ(control.call(d::BindAddText, {byValue}, nullptr, nullptr, &slot), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(slot, 0u);
    SysFreeString(plain);

    // The bitmap handle, the last argument, is an I4: it comes first in rgvarg.
    slot = 99;
    EXPECT_EQ(control.call(d::DisplayBitmap, {i2(0), i2(2), i2(0), i2(0), i2(10), i2(10), i2(5)}, nullptr, nullptr,
                           &slot),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(slot, 0u);
    // The first argument is last in rgvarg.
    slot = 99;
    EXPECT_EQ(control.call(d::DisplayBitmap, {i4(0), i2(2), i2(0), i2(0), i2(10), i2(10), i4(5)}, nullptr, nullptr,
                           &slot),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(slot, 6u);
    EXPECT_EQ(control.call(d::RenderBufferByte, {i2(0)}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(control.call(d::HotSpotTouched, {i4(1)}), DISP_E_TYPEMISMATCH);
}

TEST_F(Dispatch, AWrongNumberOfArgumentsIsABadParameterCount) {
    Control control;
    EXPECT_EQ(control.call(d::DisplaySetup, {i2(0), i2(240), i2(64), i2(100), i2(0), i2(1900)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(control.call(d::PadReset, {i2(0)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(control.call(d::BindAddText), DISP_E_BADPARAMCOUNT);
    VARIANT result;
    DISPPARAMS oneArgument{nullptr, nullptr, 0, 0};
    VARIANT argument = i2(1);
    oneArgument.rgvarg = &argument;
    oneArgument.cArgs = 1;
    EXPECT_EQ(control.dispatch->Invoke(d::PackingMode, IID_NULL, 0, DISPATCH_PROPERTYGET, &oneArgument, &result,
                                       nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
}

TEST_F(Dispatch, UnknownMembersAndWrongKindsAreNotFound) {
    Control control;
    EXPECT_EQ(control.call(3000), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(control.call(d::RenderWidth), DISP_E_MEMBERNOTFOUND);  // a property called as a method
    EXPECT_EQ(control.putI2(d::PadReset, 1), DISP_E_MEMBERNOTFOUND);  // a method put as a property
    VARIANT result;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(control.dispatch->Invoke(d::InkPointCount, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                       nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(control.dispatch->Invoke(d::PadReset, IID_IDispatch, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                                       nullptr),
              DISP_E_UNKNOWNINTERFACE);
    const auto entries = sigplus::journal();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(sigplus::describe(entries.front()), "method dispid 3000 -> 0x80020003");
}

TEST_F(Dispatch, NamesMapToTheirDispatchIds) {
    Control control;
    OLECHAR name[] = u"renderbufferbyte";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    ASSERT_EQ(control.dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, d::RenderBufferByte);
    OLECHAR unknown[] = u"Signature";
    names[0] = unknown;
    EXPECT_EQ(control.dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST_F(Dispatch, AFailingMemberReportsItsExceptionInformation) {
    Control control;
    EXCEPINFO exception{};
    EXPECT_EQ(control.call(d::BindAddText, {}, nullptr, &exception), DISP_E_BADPARAMCOUNT);
    BSTR text = SysAllocString(u"x");
    EXPECT_EQ(control.call(d::BindAddText, {bstrRef(&text)}, nullptr, &exception), DISP_E_EXCEPTION);
    SysFreeString(text);
    EXPECT_EQ(exception.scode, E_UNEXPECTED);
    ASSERT_NE(exception.bstrDescription, nullptr);
    EXPECT_GT(SysStringLen(exception.bstrDescription), 0u);
    EXPECT_EQ(std::u16string(exception.bstrSource), u"SigPlus");
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
}

TEST_F(Dispatch, TheJournalRecordsARenderInTheOrderOfTheCalls) {
    {
        Control first;
        EXPECT_EQ(first.call(d::PadReset), S_OK);
    }
    Control control;
    ASSERT_EQ(control.call(d::PadReset), S_OK);
    ASSERT_EQ(control.putI2(d::PackingMode, 0), S_OK);
    ASSERT_EQ(control.putI2(d::CipherMode, 0), S_OK);
    control.bind({u"Order 1042"});
    ASSERT_EQ(control.putI2(d::CipherMode, 2), S_OK);
    ASSERT_EQ(control.putText(d::SignatureText, u"SIG1:AAAA"), S_OK);
    EXPECT_EQ(control.callI2(d::SignaturePointCount), 0);
    EXPECT_EQ(control.call(d::RenderBufferByte, {i4(0)}), DISP_E_EXCEPTION);

    const std::vector<std::string> expected = {
        "method PadReset",
        "method PadReset",
        "put PackingMode 0",
        "put CipherMode 0",
        "method BindBegin",
        "method BindAddText Order 1042",
        "method BindEnd",
        "put CipherMode 2",
        "put SignatureText SIG1:AAAA",
        "method SignaturePointCount",
        "method RenderBufferByte 0 -> 0x80020009",
    };
    EXPECT_EQ(sigplus::journalLines(), expected);
    const auto entries = sigplus::journal();
    ASSERT_EQ(entries.size(), expected.size());
    EXPECT_NE(entries[0].object, entries[1].object);
    for (std::size_t i = 2; i < entries.size(); ++i) EXPECT_EQ(entries[i].object, entries[1].object);
    EXPECT_EQ(entries[9].result, "0");
    EXPECT_EQ(entries[5].dispid, d::BindAddText);
}

TEST_F(Dispatch, ClearingTheJournalStartsItAfresh) {
    Control control;
    EXPECT_EQ(control.call(d::PadReset), S_OK);
    ASSERT_EQ(sigplus::journal().size(), 1u);
    sigplus::clearJournal();
    EXPECT_TRUE(sigplus::journal().empty());
    EXPECT_EQ(control.call(d::ClearInk), S_OK);
    EXPECT_EQ(sigplus::journalLines(), std::vector<std::string>{"method ClearInk"});
}

TEST_F(Dispatch, TheJournalIsOffUnlessAskedForAndKeepsNoMoreThanItsLimit) {
    Control control;
    sigplus::setJournalEnabled(false);
    EXPECT_EQ(control.call(d::ClearInk), S_OK);
    EXPECT_EQ(control.putI2(d::RenderWidth, 100), S_OK);
    EXPECT_TRUE(sigplus::journal().empty());
    EXPECT_EQ(sigplus::journalDropped(), 0u) << "calls while off are not recorded at all";

    sigplus::setJournalEnabled(true);
    sigplus::setJournalLimit(2);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(control.putI2(d::RenderWidth, static_cast<SHORT>(i)), S_OK);
    sigplus::setJournalLimit(sigplus::kDefaultJournalLimit);
    EXPECT_EQ(sigplus::journalLines(), (std::vector<std::string>{"put RenderWidth 0", "put RenderWidth 1"}));
    EXPECT_EQ(sigplus::journalDropped(), 3u);
    sigplus::clearJournal();
    EXPECT_EQ(sigplus::journalDropped(), 0u);
    EXPECT_EQ(control.call(d::ClearInk), S_OK);
    EXPECT_EQ(sigplus::journal().size(), 1u);
}

TEST_F(Dispatch, TheJournalWordsEveryKindOfArgumentAndResult) {
    Control control;
    control.bind({u"Auftrag Nr. 7 \u00fcber \u20ac 12", u""});
    BSTR none = nullptr;
    EXPECT_EQ(control.call(d::BindAddText, {bstrRef(&none)}), DISP_E_EXCEPTION);
    VARIANT nullRef = bstrRef(nullptr);
    VARIANT real;
    VariantInit(&real);
    real.vt = VT_R8;
    real.dblVal = 1.5;
    VARIANT yes;
    VariantInit(&yes);
    yes.vt = VT_BOOL;
    yes.boolVal = VARIANT_TRUE;
    EXPECT_EQ(control.call(d::ClearInk, {i2(-32768), i4(2147483647), i4(-1), yes, real, nullRef}),
              DISP_E_BADPARAMCOUNT);
    // More arguments than any member takes.
    std::vector<VARIANT> many;
    for (SHORT i = 0; i < 12; ++i) many.push_back(i2(static_cast<SHORT>(i * 1000)));
    EXPECT_EQ(control.call(d::DisplaySetup, many), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(control.callI4(d::RenderBufferSize), 0);
    VARIANT set;
    EXPECT_EQ(control.call(d::InkAreaSet, {i2(1), i2(2), i2(3), i2(4)}, &set), S_OK);
    EXPECT_EQ(set.vt, VT_BOOL);
    EXPECT_EQ(control.getText(d::SignatureText), u"");
    EXPECT_EQ(control.putText(d::SignatureText, u"SIG1:\u00e9"), S_OK);
    EXPECT_EQ(control.call(-5), DISP_E_MEMBERNOTFOUND);

    const std::vector<std::string> expected = {
        "method BindBegin",
        "method BindAddText Auftrag Nr. 7 \u00fcber \u20ac 12",
        "method BindAddText ",
        "method BindEnd",
        "method BindAddText  -> 0x80020009",
        "method ClearInk -32768 2147483647 -1 true vt=5 vt=16392 -> 0x8002000E",
        "method DisplaySetup 0 1000 2000 3000 4000 5000 6000 7000 8000 9000 10000 11000 -> 0x8002000E",
        "method RenderBufferSize",
        "method InkAreaSet 1 2 3 4",
        "get SignatureText",
        "put SignatureText SIG1:\u00e9",
        "method dispid -5 -> 0x80020003",
    };
    EXPECT_EQ(sigplus::journalLines(), expected);
    const auto entries = sigplus::journal();
    ASSERT_EQ(entries.size(), expected.size());
    EXPECT_EQ(entries[5].arguments.size(), 6u);
    EXPECT_EQ(entries[6].arguments.size(), 12u);
    EXPECT_EQ(entries[7].result, "0");
    EXPECT_EQ(entries[8].result, "true");
    EXPECT_EQ(entries[9].result, "");
    EXPECT_EQ(entries[9].kind, sigplus::CallKind::Get);
    EXPECT_EQ(entries[10].kind, sigplus::CallKind::Put);
    EXPECT_EQ(entries[11].member, "");
    EXPECT_EQ(entries[11].dispid, -5);
    for (const auto& entry : entries) EXPECT_EQ(entry.object, entries[0].object);
}

TEST_F(Dispatch, TheJournalKeepsEveryCallOfALongRun) {
    Control first;
    Control second;
    constexpr int kCalls = 50000;
    for (int i = 0; i < kCalls; ++i) {
        Control& control = i % 1000 == 999 ? first : second;
        EXPECT_EQ(control.call(d::RenderBufferByte, {i4(i)}), DISP_E_EXCEPTION);
    }
    const std::vector<std::string> lines = sigplus::journalLines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kCalls));
    const auto entries = sigplus::journal();
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(kCalls));
    for (int i = 0; i < kCalls; i += 997) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i)], "method RenderBufferByte " + std::to_string(i) + " -> 0x80020009");
    }
    EXPECT_EQ(lines.back(), "method RenderBufferByte 49999 -> 0x80020009");
    for (int i = 0; i < kCalls; ++i) {
        const bool firstObject = i % 1000 == 999;
        EXPECT_EQ(entries[static_cast<std::size_t>(i)].object == entries[999].object, firstObject) << i;
    }
    EXPECT_NE(entries[999].object, entries[0].object);
}

}  // namespace
