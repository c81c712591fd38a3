#include "functions/ErrorCodes.h"
#include "functions/Handlers.h"
#include "functions/LastError.h"

#include <FMWrapper/HostSide.h>

#include <gtest/gtest.h>

namespace {

TEST(ErrorCodes, EveryRowOfThePluginsBlocksHasItsMessage) {
    EXPECT_EQ(zera::errorMessage(0), "SUCCESS");
    EXPECT_EQ(zera::errorMessage(-3), "Invalid Number of Parameters");
    EXPECT_EQ(zera::errorMessage(-4), "Invalid Parameter value(s)");
    EXPECT_EQ(zera::errorMessage(-200), "Library failed to load");
    EXPECT_EQ(zera::errorMessage(-300), "The specified file cannot be found");
    EXPECT_EQ(zera::errorMessage(-301), "The specified file cannot be found");
    EXPECT_EQ(zera::errorMessage(-302), "The specified folder cannot be accessed");
    EXPECT_EQ(zera::errorMessage(-400), "System Error");
    EXPECT_EQ(zera::errorMessage(-998), "Unknown Exception");
    EXPECT_EQ(zera::errorMessage(-999), "COM Exception");
    EXPECT_EQ(zera::errorMessage(-13000), "Unknown file or access denied.");
    EXPECT_EQ(zera::errorMessage(-13001), "Unable to save signature image to file.");
    EXPECT_EQ(zera::errorMessage(-13002), "Ensure that the SigPlus software is properly installed.");
}

TEST(ErrorCodes, CodesNotInTheTableAreUndefined) {
    for (std::int32_t code : {1, -1, -2, -5, -199, -201, -12999, -13003, -100000, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(zera::errorMessage(code), "Undefined error. ") << code;
    }
}

class LastErrorRecord : public ::testing::Test {
protected:
    void SetUp() override { zera::LastError::create(); }
    void TearDown() override { zera::LastError::release(); }
};

TEST_F(LastErrorRecord, StartsWithNeitherMessageNorDetail) {
    EXPECT_EQ(zera::LastError::code(), 0);
    EXPECT_FALSE(zera::LastError::message().has_value());
    EXPECT_FALSE(zera::LastError::detail().has_value());
}

TEST_F(LastErrorRecord, ResetAndRaise) {
    zera::LastError::raise(-13001, u"disk");
    EXPECT_EQ(zera::LastError::code(), -13001);
    EXPECT_EQ(zera::LastError::message(), std::u16string(u"Unable to save signature image to file."));
    EXPECT_EQ(zera::LastError::detail(), std::u16string(u"disk"));
    zera::LastError::reset();
    EXPECT_EQ(zera::LastError::code(), 0);
    EXPECT_EQ(zera::LastError::message(), std::u16string(u"Success"));
    EXPECT_FALSE(zera::LastError::detail().has_value());
    zera::LastError::raise(-77);
    EXPECT_EQ(zera::LastError::message(), std::u16string(u"Undefined error. "));
    EXPECT_EQ(zera::LastError::detail(), std::u16string(u""));
}

std::u16string lastErrorAs(const fmw::Value& type) {
    fmw::ParameterVector parameters({type});
    fmw::ResultValue result;
    zera::Do_ZERA_GetLastError(164, fmw::expressionEnvironment(), parameters.get(), result.get());
    return result.value().textValue();
}

TEST_F(LastErrorRecord, AMessageWithDetailGetsItAfterACarriageReturn) {
    zera::LastError::raise(-13000, u"C:\\banner.bmp");
    EXPECT_EQ(lastErrorAs(fmw::Value::text(u"text")), u"Unknown file or access denied.\rC:\\banner.bmp");
    EXPECT_EQ(lastErrorAs(fmw::Value::text(u"code")), u"-13000");
    EXPECT_EQ(zera::LastError::code(), -13000) << "reading does not change the record";
}

}  // namespace
