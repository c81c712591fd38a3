// Rendering and saving stored signatures, against a control that records
// its calls and can be told to fail.
#include "FakeControl.h"
#include "StartedPlugin.h"
#include "TemporaryDriveC.h"

#include <winplatform/diagnostics.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using fmw::Value;

const std::u16string kSignature = u"stored signature";
const std::u16string kBound = u"Order 1042";

class WithPlugin : public StartedPlugin {
protected:
    fmw::CallResult render(const std::u16string& signature = kSignature, const std::u16string& bound = kBound) {
        return plugin.run(u"ZERA_RenderSigFromString", {T(signature), T(bound)});
    }
    std::u16string lastErrorCode() { return plugin.text(u"ZERA_GetLastError", {T(u"code")}); }
};

class Render : public WithPlugin {
protected:
    void SetUp() override {
        WithPlugin::SetUp();
        EXPECT_EQ(winplatform::comInitCount(), 1u) << "the registration's own initialisation";
    }
    void TearDown() override {
        EXPECT_EQ(winplatform::comInitCount(), 1u) << "every link uninitialises what it initialised";
        EXPECT_EQ(control.objectsAlive(), 0);
        WithPlugin::TearDown();
    }
    FakeControlRegistration control;
};

TEST_F(Render, SendsTheCallsInTheirOrder) {
    const fmw::CallResult outcome = render();
    ASSERT_EQ(outcome.result.type(), Value::Type::Container);
    std::vector<std::string> expected = {
        "method PadReset",
        "put PackingMode 0", "put CipherMode 0",  // the binding pass
        "method BindBegin", "method BindAddText Order 1042", "method BindEnd",
        "put PackingMode 0", "put CipherMode 2",  // the stored modes
        "put SignatureText stored signature", "method SignaturePointCount",
        "put RenderOption 0", "put RenderWidth 215", "put RenderHeight 70", "put RenderPenWidth 15",
        "put RenderFormat 5", "method RenderToBuffer", "method RenderBufferSize",
    };
    for (int i = 0; i < 16; ++i) expected.push_back("method RenderBufferByte " + std::to_string(i));
    expected.push_back("method RenderBufferRelease");
    EXPECT_EQ(control.calls(), expected);
}

TEST_F(Render, ContainerHoldsSizeFileNameAndTheControlsBytes) {
    const fmw::CallResult outcome = render();
    ASSERT_EQ(outcome.result.type(), Value::Type::Container);
    const fmw::Container& container = outcome.result.containerValue();
    ASSERT_TRUE(container.imageSize.has_value());
    EXPECT_EQ(container.imageSize->first, 215);
    EXPECT_EQ(container.imageSize->second, 70);
    EXPECT_EQ(container.fileName, std::u16string(u"sig.gif"));
    ASSERT_EQ(container.streams.size(), 1u);
    EXPECT_EQ(container.streams[0].type, "GIFf");
    EXPECT_EQ(container.streams[0].bytes, control.script().image);
    EXPECT_EQ(container.addOrder, (std::vector<std::string>{"SIZE", "FNAM", "GIFf"}));
    EXPECT_EQ(lastErrorCode(), u"0");
}

TEST_F(Render, TwoRendersGiveIndependentContainers) {
    const fmw::CallResult first = render();
    control.script().image.assign(16, 0xEE);
    const fmw::CallResult second = render();
    ASSERT_EQ(first.result.type(), Value::Type::Container);
    ASSERT_EQ(second.result.type(), Value::Type::Container);
    EXPECT_NE(first.result.containerValue().streams[0].bytes, second.result.containerValue().streams[0].bytes);
    EXPECT_EQ(second.result.containerValue().streams[0].bytes, std::vector<std::uint8_t>(16, 0xEE));
}

TEST_F(Render, PenWidthSettingReachesTheControl) {
    EXPECT_EQ(plugin.text(u"ZERA_SetImagePenWidth", {N(65536 + 7)}), u"0");
    render();
    const auto& calls = control.calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "put RenderPenWidth 7"), calls.end()) << "the low 16 bits";
}

TEST_F(Render, NoUsableSignatureIsUnsignedWithoutAnError) {
    control.script().signaturePoints = 0;
    const fmw::CallResult outcome = render();
    ASSERT_EQ(outcome.result.type(), Value::Type::Text);
    EXPECT_EQ(outcome.result.textValue(), u"UNSIGNED");
    EXPECT_EQ(lastErrorCode(), u"0");
    EXPECT_EQ(control.calls().back(), "method SignaturePointCount") << "nothing is rendered after the point count";
}

TEST_F(Render, AFailingControlCallEndsTheRenderAsUnsigned) {
    using namespace zera::sigplus;
    for (DISPID member : {PadReset, BindAddText, SignatureText, SignaturePointCount, RenderToBuffer, RenderBufferSize,
                          RenderBufferByte, RenderBufferRelease}) {
        SCOPED_TRACE(member);
        control.script().failing = {{member, 0}};
        const fmw::CallResult outcome = render();
        EXPECT_EQ(outcome.result.textValue(), u"UNSIGNED");
        EXPECT_EQ(lastErrorCode(), u"0");
    }
}

TEST_F(Render, ANegativeBufferSizeIsAFailureNotAnAllocation) {
    control.script().bufferSize = -5;
    const fmw::CallResult outcome = render();
    EXPECT_EQ(outcome.result.textValue(), u"UNSIGNED");
    for (const std::string& call : control.calls()) EXPECT_NE(call.rfind("method RenderBufferByte", 0), 0u) << call;
}

TEST_F(Render, AnEmptyImageIsStillAContainer) {
    control.script().bufferSize = 0;
    control.script().image.clear();
    const fmw::CallResult outcome = render();
    ASSERT_EQ(outcome.result.type(), Value::Type::Container);
    ASSERT_EQ(outcome.result.containerValue().streams.size(), 1u);
    EXPECT_TRUE(outcome.result.containerValue().streams[0].bytes.empty());
}

TEST_F(Render, WrongParameterCountsAreRefusedByTheHandler) {
    const auto function = fmw::findFunction(u"ZERA_RenderSigFromString");
    ASSERT_TRUE(function);
    EXPECT_EQ(fmw::callFunction(*function, {T(kSignature)}).result.textValue(), u"!!ERROR!!");
    EXPECT_EQ(lastErrorCode(), u"-3");
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError"), u"Invalid Number of Parameters");
    EXPECT_EQ(fmw::callFunction(*function, {T(kSignature), T(kBound), T(u""), T(u""), T(u"")}).result.textValue(),
              u"!!ERROR!!");
    EXPECT_TRUE(control.calls().empty()) << "a refused count reaches no control";
    EXPECT_EQ(fmw::callFunction(*function, {T(kSignature), T(kBound), T(u"extra")}).result.type(),
              Value::Type::Container)
        << "up to four parameters are accepted, the extra ones unread";
}

TEST_F(WithPlugin, RenderWithoutTheControlIsUnsignedWithLibraryLoadError) {
    const fmw::CallResult outcome = render();
    EXPECT_EQ(outcome.result.textValue(), u"UNSIGNED");
    EXPECT_EQ(lastErrorCode(), u"-200");
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError"), u"Library failed to load");
    EXPECT_EQ(winplatform::comInitCount(), 0u);
}

TEST(RenderWithoutDispatch, AControlWithoutTheInterfaceCannotBeUsed) {
    PluginModule plugin;
    ASSERT_EQ(plugin.startup(), 53);
    FakeControlScript script;
    script.answerDispatch = false;
    FakeControlRegistration control(script);
    EXPECT_EQ(plugin.run(u"ZERA_RenderSigFromString", {T(kSignature), T(kBound)}).result.textValue(), u"UNSIGNED");
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"-200");
    EXPECT_EQ(control.objectsAlive(), 0) << "the object is released although it was of no use";
    plugin.shutdown();
}

class Save : public Render {
protected:
    void SetUp() override {
        Render::SetUp();
        folder = fs::temp_directory_path() / ("zera-save-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::remove_all(folder);
        Render::TearDown();
    }
    std::u16string save(const std::u16string& path) {
        return plugin.text(u"ZERA_SaveSigToFile", {T(kSignature), T(kBound), T(path)});
    }
    std::u16string save(const fs::path& path) { return save(path.u16string()); }
    static std::vector<std::uint8_t> contentOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path folder;
};

TEST_F(Save, WritesExactlyTheControlsBytesWhateverTheExtension) {
    for (const char* name : {"sig.gif", "sig.bmp", "sig.png", "sig"}) {
        const fs::path path = folder / name;
        EXPECT_EQ(save(path), u"0");
        EXPECT_EQ(contentOf(path), control.script().image) << name;
    }
    EXPECT_EQ(lastErrorCode(), u"0");
}

// As Get( TemporaryPath ) and a container's file reference give a path; on
// Linux drive C is the test's folder, on Windows the system's own.
TEST_F(Save, FileMakersPathNotationNamesTheNativePath) {
    const TemporaryDriveC driveC("fm-paths");
    const std::u16string name = u"zera-fm-path-" + fs::path(std::to_string(::getpid())).u16string() + u".gif";
    for (const std::u16string& path : {u"/C:/" + name, u"filewin:/C:/" + name, u"/c:\\" + name, u"C:/" + name}) {
        EXPECT_EQ(save(path), u"0") << fs::path(path).string();
        EXPECT_EQ(contentOf(driveC.path() / fs::path(name)), control.script().image) << fs::path(path).string();
        fs::remove(driveC.path() / fs::path(name));
    }
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"/C:/no-such-banner.bmp")}), u"!!ERROR!!");
    std::ofstream(driveC.path() / "banner.bmp") << "BM";
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"/C:/banner.bmp")}), u"0");
    fs::remove(driveC.path() / "banner.bmp");
}

TEST_F(Save, ReplacesAnExistingFileEntirely) {
    const fs::path path = folder / "old.gif";
    std::ofstream(path) << std::string(1000, 'x');
    EXPECT_EQ(save(path), u"0");
    EXPECT_EQ(contentOf(path), control.script().image);
}

TEST_F(Save, AMissingFolderIsASaveError) {
    const fs::path path = folder / "missing" / "sig.gif";
    EXPECT_EQ(save(path), u"!!ERROR!!");
    EXPECT_EQ(lastErrorCode(), u"-13001");
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError"), u"Unable to save signature image to file.");
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(Save, UnopenablePathsAreSaveErrors) {
    std::u16string tooLong = folder.u16string() + u"/";
    while (tooLong.size() < 260) tooLong.push_back(u'n');
    std::vector<std::u16string> paths{folder.u16string(), std::u16string(u"Q:\\nowhere\\sig.gif")};
#if !defined(_WIN32)  // Windows refuses a path of MAX_PATH units; wine keeps no such limit.
    paths.push_back(tooLong);
#endif
    for (const std::u16string& path : paths) {
        EXPECT_EQ(save(path), u"!!ERROR!!");
        EXPECT_EQ(lastErrorCode(), u"-13001");
    }
}

TEST_F(Save, AFailedWriteAfterTheOpenIsASaveError) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    EXPECT_EQ(save(std::u16string(u"/dev/full")), u"!!ERROR!!");
    EXPECT_EQ(lastErrorCode(), u"-13001");
}

#if !defined(_WIN32)
// Nothing blocks on a named pipe with no reader, and no name Windows
// refuses makes a file, not even one named by the whole text. (Windows
// has no such pipes in its file system.)
TEST_F(Save, PipesAndNamesWindowsRefusesAreSaveErrorsAnsweredAtOnce) {
    const fs::path pipe = folder / "pipe.gif";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    for (const std::u16string& path : {pipe.u16string(), std::u16string(u"\\\\server\\share\\sig.gif"),
                                       std::u16string(u"sig\r.gif"), std::u16string(u"sig?.gif")}) {
        EXPECT_EQ(save(path), u"!!ERROR!!");
        EXPECT_EQ(lastErrorCode(), u"-13001");
    }
    fs::current_path(before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}
#endif

TEST_F(Save, AnUnusableSignatureLeavesTheFileAlone) {
    const fs::path path = folder / "kept.gif";
    std::ofstream(path) << "old";
    control.script().signaturePoints = 0;
    EXPECT_EQ(save(path), u"UNSIGNED");
    EXPECT_EQ(lastErrorCode(), u"0");
    EXPECT_EQ(contentOf(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

TEST_F(Save, WrongParameterCountsAreRefusedByTheHandler) {
    const auto function = fmw::findFunction(u"ZERA_SaveSigToFile");
    ASSERT_TRUE(function);
    EXPECT_EQ(fmw::callFunction(*function, {T(kSignature), T(kBound)}).result.textValue(), u"!!ERROR!!");
    EXPECT_EQ(lastErrorCode(), u"-3");
    const fs::path path = folder / "four.gif";
    EXPECT_EQ(fmw::callFunction(*function, {T(kSignature), T(kBound), T(path.u16string()), T(u"x")})
                  .result.textValue(),
              u"0");
    EXPECT_TRUE(fs::exists(path));
}

TEST_F(WithPlugin, SaveWithoutTheControlIsUnsignedAndTouchesNoFile) {
    const fs::path path = fs::temp_directory_path() / ("zera-nocontrol-" + std::to_string(::getpid()) + ".gif");
    EXPECT_EQ(plugin.text(u"ZERA_SaveSigToFile", {T(kSignature), T(kBound), T(path.u16string())}), u"UNSIGNED");
    EXPECT_EQ(lastErrorCode(), u"-200");
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
