#include "FakeControl.h"
#include "StartedPlugin.h"
#include "TemporaryDriveC.h"

#include <platform/utf.h>
#include <zera/version.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

namespace {

using fmw::Value;

// The version the build writes (cmake/version.cmake), in the product's form.
const std::u16string kShortVersion = u"" ZERA_VERSION_TEXT;
const std::u16string kFullVersion = u"Penvira Signature Capture " + kShortVersion;

class Functions : public StartedPlugin {
protected:
    std::u16string lastError(const std::u16string& type) { return plugin.text(u"ZERA_GetLastError", {T(type)}); }
};

TEST_F(Functions, VersionAnswersTheFullTextUnlessAskedForShort) {
    EXPECT_EQ(plugin.text(u"ZERA_Version"), kFullVersion);
    for (const char16_t* word : {u"SHORT", u"short", u"ShOrT"}) {
        EXPECT_EQ(plugin.text(u"ZERA_Version", {T(word)}), kShortVersion) << "type " << platform::utf16ToUtf8(word);
    }
    for (const char16_t* other : {u" SHORT", u"SHORT ", u"SHORTER", u"SHOR", u"", u"long"}) {
        EXPECT_EQ(plugin.text(u"ZERA_Version", {T(other)}), kFullVersion)
            << "type '" << platform::utf16ToUtf8(other) << "'";
    }
    EXPECT_EQ(plugin.text(u"ZERA_Version", {N(1)}), kFullVersion);
}

TEST_F(Functions, VersionLeavesTheLastErrorAlone) {
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"")}), u"!!ERROR!!");
    plugin.text(u"ZERA_Version");
    EXPECT_EQ(lastError(u"code"), u"-13000");
    EXPECT_EQ(lastError(u""), u"Unknown file or access denied.");
}

TEST_F(Functions, LastErrorRightAfterStartup) {
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError"), u"");
    EXPECT_EQ(lastError(u"code"), u"0");
}

TEST_F(Functions, LastErrorTypeSelectsMessageOrCode) {
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"/no/such/file.bmp")}), u"!!ERROR!!");
    for (const char16_t* asText : {u"", u"text", u"TEXT", u"Text"}) {
        EXPECT_EQ(lastError(asText), u"Unknown file or access denied.") << platform::utf16ToUtf8(asText);
    }
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError"), u"Unknown file or access denied.");
    for (const char16_t* asCode : {u"code", u"number", u"1", u" text", u"texts"}) {
        EXPECT_EQ(lastError(asCode), u"-13000") << platform::utf16ToUtf8(asCode);
    }
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {N(1)}), u"-13000");
    EXPECT_EQ(lastError(u"code"), lastError(u"code")) << "reading never changes the record";
}

TEST_F(Functions, SuccessfulSetterResetsTheLastError) {
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"")}), u"!!ERROR!!");
    EXPECT_EQ(plugin.text(u"ZERA_SetImagePenWidth", {N(4)}), u"0");
    EXPECT_EQ(lastError(u""), u"Success");
    EXPECT_EQ(lastError(u"code"), u"0");
}

TEST_F(Functions, NumericSettersAcceptAnyNumber) {
    TemporaryDriveC driveC{"setters"};
    FakeControlRegistration control;
    // Each setter answers "0" and resets an earlier error; the control is
    // given the low 16 bits of the host's whole number when a capture
    // connects (type, then port) and when a render draws (pen width).
    const struct {
        Value given;
        std::optional<int> reaching;
    } cases[] = {{N(3), 3},          {N(65542), 6},     {N(-1), -1}, {N(0), 0}, {N(3.7), 3},
                 {N(1e12), std::nullopt}, {T(u"abc"), 0}, {T(u"12 apples"), 12}};
    for (const auto& c : cases) {
        for (const char16_t* setter : {u"ZERA_SetTabletMode", u"ZERA_SetTabletComPort", u"ZERA_SetImagePenWidth"}) {
            ASSERT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"")}), u"!!ERROR!!");
            EXPECT_EQ(plugin.text(setter, {c.given}), u"0");
            EXPECT_EQ(lastError(u"code"), u"0");
        }
        if (!c.reaching) continue;
        const std::size_t before = control.calls().size();
        plugin.text(u"ZERA_CaptureSignature", {T(u"a")});  // no input: it connects, then closes
        plugin.run(u"ZERA_RenderSigFromString", {T(u"s"), T(u"b")});
        const std::vector<std::string> calls(control.calls().begin() + static_cast<std::ptrdiff_t>(before),
                                             control.calls().end());
        for (const char* property : {"PadKind ", "PadPort ", "RenderPenWidth "}) {
            const std::string put = "put " + std::string(property) + std::to_string(*c.reaching);
            EXPECT_NE(std::find(calls.begin(), calls.end(), put), calls.end()) << put;
        }
    }
}

class BannerPath : public Functions {
protected:
    void SetUp() override {
        Functions::SetUp();
        folder = std::filesystem::temp_directory_path() / ("zera-banner-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        file = folder / "banner.bmp";
        std::ofstream(file) << "BM";
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        Functions::TearDown();
    }
    std::u16string set(const std::vector<Value>& arguments) { return plugin.text(u"ZERA_SetBannerPath", arguments); }
    static Value path(const std::filesystem::path& p) { return T(p.u16string()); }

    std::filesystem::path folder;
    std::filesystem::path file;
};

TEST_F(BannerPath, ExistingFileOrFolderIsAccepted) {
    EXPECT_EQ(set({path(file)}), u"0");
    EXPECT_EQ(lastError(u"code"), u"0");
    EXPECT_EQ(set({path(folder)}), u"0");
    EXPECT_EQ(lastError(u"code"), u"0");
}

TEST_F(BannerPath, MissingOrEmptyPathIsAnError) {
    for (const Value& missing : {path(folder / "none.bmp"), T(u""), path(folder / "none" / "x.bmp")}) {
        EXPECT_EQ(set({missing}), u"!!ERROR!!");
        EXPECT_EQ(lastError(u"code"), u"-13000");
        EXPECT_EQ(lastError(u"text"), u"Unknown file or access denied.");
    }
}

TEST_F(BannerPath, WindowsNotationGoesThroughTheDriveMap) {
#if defined(_WIN32)
    GTEST_SKIP() << "the drive map of Linux folders is the Linux platform's own";
#endif
    // Drive Z is the root of the file system.
    std::u16string windowsPath = u"Z:" + file.u16string();
    std::replace(windowsPath.begin(), windowsPath.end(), u'/', u'\\');
    EXPECT_EQ(set({T(windowsPath)}), u"0");
    EXPECT_EQ(set({T(u"Q:\\nothing\\here.bmp")}), u"!!ERROR!!");
}

TEST_F(Functions, CaptureWithoutTheControlGivesAnEmptyTextAndSaysTheDialogCouldNotOpen) {
    TemporaryDriveC driveC{"no-control"};
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"")}), u"!!ERROR!!");
    EXPECT_EQ(plugin.text(u"ZERA_CaptureSignature", {T(u"Order 1042")}), u"");
    EXPECT_EQ(lastError(u"code"), u"-13002");
}

TEST_F(Functions, TextResultsUseTheResultsOwnLocaleAndTextType) {
    const auto function = fmw::findFunction(u"ZERA_Version");
    ASSERT_TRUE(function);
    fmw::ParameterVector parameters({});
    fmw::ResultValue result;
    EXPECT_EQ(function->handler(151, fmw::expressionEnvironment(), parameters.get(), result.get()), 0);
    EXPECT_EQ(result.storeCount(), 1);
    EXPECT_EQ(result.storedLocale(), result.ownLocale());
    EXPECT_EQ(result.nativeType(), 1);
    EXPECT_EQ(result.value().textValue(), kFullVersion);
}

TEST_F(Functions, TextParameterEndsAtItsFirstZeroUnit) {
    const std::u16string withZero(u"SHORT\0tail", 10);
    EXPECT_EQ(plugin.text(u"ZERA_Version", {T(withZero)}), kShortVersion);
}

}  // namespace
