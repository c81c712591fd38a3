// The setters, called directly, and the settings they leave behind.
#include "capture/CaptureState.h"
#include "functions/Handlers.h"
#include "functions/LastError.h"
#include "functions/Settings.h"

#include <FMWrapper/HostSide.h>

#include <gtest/gtest.h>

namespace {

using fmw::Value;

std::u16string callHandler(ExtPluginType handler, const std::vector<Value>& arguments) {
    fmw::ParameterVector parameters(arguments);
    fmw::ResultValue result;
    EXPECT_EQ(handler(0, fmw::expressionEnvironment(), parameters.get(), result.get()), 0);
    return result.value().textValue();
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override { zera::LastError::create(); }
    void TearDown() override {
        zera::LastError::release();
        zera::tabletMode = zera::kDefaultTabletMode;
        zera::tabletComPort = zera::kDefaultTabletComPort;
        zera::penWidth = zera::kDefaultPenWidth;
        zera::bannerPath.reset();
        EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
    }
};

TEST_F(Settings, DefaultsBeforeAnySetter) {
    EXPECT_EQ(zera::tabletMode, 6);
    EXPECT_EQ(zera::tabletComPort, 0);
    EXPECT_EQ(zera::penWidth, 15);
    EXPECT_EQ(zera::compressionMode, 0);
    EXPECT_EQ(zera::encryptionMode, 2);
    EXPECT_FALSE(zera::bannerPath.has_value());
    EXPECT_EQ(zera::captureState().renderWidth, 0);
    EXPECT_EQ(zera::captureState().renderHeight, 0);
}

TEST_F(Settings, TabletModeKeepsTheLow16Bits) {
    const struct {
        Value given;
        std::int16_t stored;
    } cases[] = {{Value::number(65542), 6},  {Value::number(-1), -1},     {Value::number(3.7), 3},
                 {Value::number(32768), -32768}, {Value::number(-65537), -1}, {Value::text(u"12 apples"), 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(callHandler(&zera::Do_ZERA_SetTabletMode, {c.given}), u"0");
        EXPECT_EQ(zera::tabletMode, c.stored);
        EXPECT_EQ(callHandler(&zera::Do_ZERA_SetTabletComPort, {c.given}), u"0");
        EXPECT_EQ(zera::tabletComPort, c.stored);
    }
}

TEST_F(Settings, PenWidthKeepsAllThirtyTwoBits) {
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetImagePenWidth, {Value::number(0)}), u"0");
    EXPECT_EQ(zera::penWidth, 0);
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetImagePenWidth, {Value::number(70000)}), u"0");
    EXPECT_EQ(zera::penWidth, 70000);
    // Without a parameter the width stays.
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetImagePenWidth, {}), u"0");
    EXPECT_EQ(zera::penWidth, 70000);
}

TEST_F(Settings, BannerPathIsKeptOnlyWhenItExists) {
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetBannerPath, {Value::text(u"/tmp")}), u"0");
    EXPECT_EQ(zera::bannerPath, std::u16string(u"/tmp"));
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetBannerPath, {Value::text(u"")}), u"!!ERROR!!");
    EXPECT_EQ(zera::bannerPath, std::u16string(u"/tmp")) << "a failed set keeps the old path";
    EXPECT_EQ(zera::LastError::code(), -13000);
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetBannerPath, {Value::text(u"/tmp/")}), u"0");
    EXPECT_EQ(zera::bannerPath, std::u16string(u"/tmp/")) << "stored as given";
}

TEST_F(Settings, BannerPathWithNoParameterClearsThePath) {
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetBannerPath, {Value::text(u"/tmp")}), u"0");
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetBannerPath, {Value::text(u"")}), u"!!ERROR!!");
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetBannerPath, {}), u"0");
    EXPECT_FALSE(zera::bannerPath.has_value());
    EXPECT_EQ(zera::LastError::code(), 0);
}

TEST_F(Settings, HandlersSurviveAMissingLastError) {
    zera::LastError::release();
    EXPECT_EQ(callHandler(&zera::Do_ZERA_SetBannerPath, {Value::text(u"")}), u"!!ERROR!!");
    EXPECT_EQ(callHandler(&zera::Do_ZERA_GetLastError, {Value::text(u"code")}), u"0");
    zera::LastError::create();
}

}  // namespace
