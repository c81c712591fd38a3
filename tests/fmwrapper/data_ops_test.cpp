#include "host_fixture.h"

#include <optional>

using DataOps = HostTest;

TEST_F(DataOps, BorrowedObjectsLiveAsLongAsTheVector) {
    const std::size_t textsBefore = fmw::liveObjects(fmw::Kind::Text);
    const std::size_t numbersBefore = fmw::liveObjects(fmw::Kind::FixPt);
    {
        const fmw::ParameterVector params({fmw::Value::text(u"first"), fmw::Value::number(2)});
        const fmx::Text* first = FM_DataVect_AtAsText(params.get(), 0, err);
        const fmx::FixPt* two = FM_DataVect_AtAsNumber(params.get(), 1, err);
        FM_DataVect_AtAsText(params.get(), 1, err);

        EXPECT_EQ(FM_DataVect_AtAsText(params.get(), 0, err), first);
        EXPECT_EQ(FM_DataVect_AtAsNumber(params.get(), 1, err), two);
        EXPECT_EQ(read(first), u"first");
        EXPECT_EQ(FM_FixPt_AsLong(two, err), 2);
        EXPECT_EQ(fmw::liveObjects(fmw::Kind::Text), textsBefore + 2);
        EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
    }
    EXPECT_EQ(fmw::liveObjects(fmw::Kind::Text), textsBefore);
    EXPECT_EQ(fmw::liveObjects(fmw::Kind::FixPt), numbersBefore);
}

TEST_F(DataOps, OutOfRangePositionIsRefused) {
    const fmw::ParameterVector params({fmw::Value::number(1)});
    EXPECT_EQ(FM_DataVect_AtAsText(params.get(), 1, err), nullptr);
    EXPECT_EQ(FM_DataVect_AtAsNumber(params.get(), 0xFFFFFFFFu, err), nullptr);
    EXPECT_EQ(fmw::misuseCount(), 2u);
    EXPECT_NE(fmw::lastMisuse().find("FM_DataVect_AtAsNumber"), std::string::npos);
    EXPECT_EQ(err.code, 0);
}

TEST_F(DataOps, SetAsTextStoresACopyWithLocaleAndType) {
    fmw::ResultValue result;
    ASSERT_NE(result.ownLocale(), nullptr);
    EXPECT_EQ(result.storedLocale(), result.ownLocale());
    EXPECT_EQ(result.nativeType(), -1);
    EXPECT_EQ(result.value().type(), fmw::Value::Type::Empty);

    const fmx::Locale* locale = FM_Data_GetLocale(result.get(), err);
    EXPECT_EQ(locale, result.ownLocale());
    fmx::Text* text = makeText(u"answer");
    EXPECT_EQ(FM_Data_SetAsText(result.get(), text, locale, kTextNative, err), 0);
    FM_Text_AssignUnicode(text, u"changed later", err);
    FM_Text_Delete(text, err);

    EXPECT_EQ(result.value().textValue(), u"answer");
    EXPECT_EQ(result.storedLocale(), result.ownLocale());
    EXPECT_EQ(result.nativeType(), kTextNative);
    EXPECT_EQ(result.storeCount(), 1);
}

TEST_F(DataOps, ResultRecordsAForeignLocaleAndEveryStore) {
    fmw::ResultValue result;
    std::optional<fmw::ResultValue> other(std::in_place);
    EXPECT_NE(other->ownLocale(), result.ownLocale());
    fmx::Text* text = makeText(u"x");
    FM_Data_SetAsText(result.get(), text, FM_Data_GetLocale(other->get(), err), 0, err);
    EXPECT_EQ(result.storedLocale(), other->ownLocale());
    FM_Data_SetAsText(result.get(), text, result.ownLocale(), 5, err);
    EXPECT_EQ(result.storeCount(), 2);
    EXPECT_EQ(result.nativeType(), 5);

    const fmx::Locale* gone = other->ownLocale();
    other.reset();
    EXPECT_NE(FM_Data_SetAsText(result.get(), text, gone, 0, err), 0);
    EXPECT_EQ(fmw::misuseCount(), 1u);
    EXPECT_EQ(result.storeCount(), 2);
    FM_Text_Delete(text, err);
}
