#include "host_fixture.h"

#include <vector>

using Misuse = HostTest;

TEST_F(Misuse, ReleasingABorrowedTextIsRefused) {
    const fmw::ParameterVector params({fmw::Value::text(u"param")});
    const fmx::Text* borrowed = FM_DataVect_AtAsText(params.get(), 0, err);
    const std::size_t textsBefore = fmw::liveObjects(fmw::Kind::Text);

    FM_Text_Delete(const_cast<fmx::Text*>(borrowed), err);
    EXPECT_EQ(fmw::misuseCount(), 1u);
    EXPECT_NE(fmw::lastMisuse().find("FM_Text_Delete: text 0x"), std::string::npos);
    EXPECT_NE(fmw::lastMisuse().find("is not owned by the plug-in"), std::string::npos);
    EXPECT_EQ(err.code, 0);

    FM_Text_AssignUnicode(const_cast<fmx::Text*>(borrowed), u"overwritten", err);
    FM_Text_DeleteText(const_cast<fmx::Text*>(borrowed), 0, 1, err);
    EXPECT_EQ(fmw::misuseCount(), 3u);
    EXPECT_EQ(fmw::liveObjects(fmw::Kind::Text), textsBefore);
    EXPECT_EQ(read(borrowed), u"param");
}

TEST_F(Misuse, DoubleReleaseNullAndForeignPointersAreRefused) {
    fmx::Text* text = FM_Text_Constructor1(err);
    FM_Text_Delete(text, err);
    EXPECT_EQ(fmw::misuseCount(), 0u);
    FM_Text_Delete(text, err);
    EXPECT_EQ(fmw::misuseCount(), 1u);
    EXPECT_NE(fmw::lastMisuse().find("is not a live host object"), std::string::npos);

    EXPECT_EQ(FM_Text_GetSize(nullptr, err), 0u);
    EXPECT_EQ(fmw::lastMisuse(), "FM_Text_GetSize: null text");
    FM_QuadChar_Delete(nullptr, err);
    EXPECT_EQ(FM_FixPt_AsLong(nullptr, err), 0);
    EXPECT_EQ(fmw::misuseCount(), 4u);

    // A locale passed where a text belongs is unknown to the text registry.
    fmw::ResultValue result;
    const void* locale = FM_Data_GetLocale(result.get(), err);
    FM_Text_Delete(static_cast<fmx::Text*>(const_cast<void*>(locale)), err);
    fmx::QuadChar* quad = FM_QuadChar_Constructor2('a', 'b', 'c', 'd', err);
    FM_BinaryData_Delete(reinterpret_cast<fmx::BinaryData*>(quad), err);
    EXPECT_EQ(fmw::misuseCount(), 6u);
    EXPECT_EQ(err.code, 0);
    FM_QuadChar_Delete(quad, err);
    EXPECT_EQ(fmw::misuseCount(), 6u);
}

TEST_F(Misuse, WrongErrorRecordVersionIsCountedButServed) {
    HostError old{0, 0};
    fmx::Text* text = FM_Text_Constructor1(old);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(fmw::misuseCount(), 1u);
    FM_Text_Delete(text, err);
    EXPECT_EQ(fmw::misuseCount(), 1u);
}

using Faults = HostTest;

TEST_F(Faults, CallsAreNumberedAndJournaled) {
    fmw::setJournalEnabled(true);
    fmx::Text* text = FM_Text_Constructor1(err);
    FM_Text_GetSize(text, err);
    FM_Text_Delete(text, err);
    EXPECT_EQ(fmw::hostCallCount(), 3u);
    EXPECT_EQ(fmw::journal(),
              (std::vector<std::string>{"FM_Text_Constructor1", "FM_Text_GetSize", "FM_Text_Delete"}));
    fmw::resetHostCalls();
    fmw::setJournalEnabled(false);
    FM_Text_GetSize(nullptr, err);
    EXPECT_EQ(fmw::hostCallCount(), 1u);
    EXPECT_EQ(fmw::journal().size(), 3u);
}

TEST_F(Faults, FailureCodesMakeTheCallDoNothingOnce) {
    fmw::failHostCall(1, kHostErrOutOfMemory);
    const std::size_t owned = fmw::pluginOwnedLive();
    EXPECT_EQ(FM_Text_Constructor1(err), nullptr);
    EXPECT_EQ(err.code, kHostErrOutOfMemory);
    EXPECT_EQ(fmw::pluginOwnedLive(), owned);

    fmx::Text* text = FM_Text_Constructor1(err);  // call 2: the fault is spent
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(err.code, 0);
    FM_Text_AssignUnicode(text, u"kept", err);

    fmw::failHostCall(4, kHostErrUnknown);
    FM_Text_AssignUnicode(text, u"lost", err);
    EXPECT_EQ(err.code, kHostErrUnknown);
    fmw::failHostCall(5, kHostErrUnknown);
    EXPECT_EQ(FM_Text_GetSize(text, err), 0u);
    fmw::failHostCall(6, kHostErrUnknown);
    EXPECT_EQ(FM_Text_Find(text, text, 0, err), kTextNotFound);
    EXPECT_EQ(read(text), u"kept");
    EXPECT_EQ(fmw::misuseCount(), 0u);

    // Numbers repeat after a reset; a spent fault must not fire again.
    fmw::resetHostCalls();
    fmw::failHostCall(1, kHostErrUnknown);
    EXPECT_EQ(FM_Text_GetSize(text, err), 0u);
    fmw::resetHostCalls();
    EXPECT_EQ(FM_Text_GetSize(text, err), 4u);
    EXPECT_EQ(err.code, 0);
    FM_Text_Delete(text, err);
}

TEST_F(Faults, OtherCodesAreReportedAfterTheWorkIsDone) {
    fmx::Text* text = makeText(u"abc");
    fmw::failHostCall(3, 3);
    FM_Text_DeleteText(text, 0, 1, err);
    EXPECT_EQ(err.code, 3);
    FM_Text_GetSize(text, err);
    EXPECT_EQ(err.code, 0);
    EXPECT_EQ(read(text), u"bc");
    FM_Text_Delete(text, err);
}

TEST_F(Faults, ReleaseStillReleasesUnderAFailure) {
    fmx::Text* text = FM_Text_Constructor1(err);
    fmx::QuadChar* quad = FM_QuadChar_Constructor2('a', 'b', 'c', 'd', err);
    fmx::BinaryData* binary = FM_BinaryData_Constructor1(err);
    const std::size_t owned = fmw::pluginOwnedLive();
    const std::size_t texts = fmw::liveObjects(fmw::Kind::Text);
    fmw::failHostCall(4, kHostErrOutOfMemory);
    fmw::failHostCall(5, kHostErrUnknown);
    fmw::failHostCall(6, kHostErrOutOfMemory);

    FM_Text_Delete(text, err);
    EXPECT_EQ(err.code, kHostErrOutOfMemory);
    FM_QuadChar_Delete(quad, err);
    EXPECT_EQ(err.code, kHostErrUnknown);
    FM_BinaryData_Delete(binary, err);
    EXPECT_EQ(err.code, kHostErrOutOfMemory);
    EXPECT_EQ(fmw::pluginOwnedLive(), owned - 3);
    EXPECT_EQ(fmw::liveObjects(fmw::Kind::Text), texts - 1);
    EXPECT_EQ(fmw::misuseCount(), 0u);
}
