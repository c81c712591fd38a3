// Rendering and saving with the replacement pad control, registered as an
// in-process server the way the host program registers it.
#include "ExampleSignature.h"
#include "GifPixels.h"
#include "StartedPlugin.h"

#include <sigplus/control.h>
#include <sigplus/journal.h>
#include <winplatform/com_registry.h>
#include <winplatform/diagnostics.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using fmw::Value;

class RealControl : public StartedPlugin {
protected:
    void SetUp() override {
        ASSERT_EQ(winplatform::registerInprocServer(sigplus::CLSID_SigPlus, SIGPLUS_LIBRARY), S_OK);
        StartedPlugin::SetUp();
        sigplus::clearJournal();
        sigplus::setJournalEnabled(true);
        signature = exampleSignature();
        ASSERT_FALSE(signature.empty());
    }
    void TearDown() override {
        sigplus::setJournalEnabled(false);
        StartedPlugin::TearDown();
        winplatform::unregisterInprocServer(sigplus::CLSID_SigPlus);
        EXPECT_EQ(sigplus::liveControlCount(), 0u);
        EXPECT_EQ(winplatform::comInitCount(), 0u);
    }
    fmw::CallResult render(const std::u16string& bound = u"Order 1042") {
        return plugin.run(u"ZERA_RenderSigFromString", {T(signature), T(bound)});
    }
    std::vector<std::uint8_t> gifOf(const fmw::CallResult& outcome) {
        EXPECT_EQ(outcome.result.type(), Value::Type::Container);
        if (outcome.result.type() != Value::Type::Container) return {};
        return outcome.result.containerValue().streams.at(0).bytes;
    }

    std::u16string signature;
};

TEST_F(RealControl, RendersALegibleGifOf215By70) {
    const std::vector<std::uint8_t> gif = gifOf(render());
    ASSERT_GE(gif.size(), 6u);
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 3), "GIF");
    const GifSize size = decode(gif);
    EXPECT_EQ(size.width, 215);
    EXPECT_EQ(size.height, 70);
    EXPECT_GT(size.darkPixels, 200) << "the strokes are drawn";
    EXPECT_LT(size.darkPixels, 215 * 70 / 3) << "and the rest is background";
}

TEST_F(RealControl, TheControlSawTheRenderInItsOrder) {
    render();
    const std::vector<std::string> lines = sigplus::journalLines();
    const std::vector<std::string> head = {
        "method PadReset",      "put PackingMode 0", "put CipherMode 0",       "method BindBegin",
        "method BindAddText Order 1042", "method BindEnd", "put PackingMode 0", "put CipherMode 2",
    };
    ASSERT_GT(lines.size(), head.size() + 10);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(head.size())), head);
    EXPECT_EQ(lines[head.size()].rfind("put SignatureText ", 0), 0u);
    EXPECT_EQ(lines.back(), "method RenderBufferRelease");
}

TEST_F(RealControl, OtherBoundDataIsUnsignedAndKeepsNoError) {
    const std::vector<std::uint8_t> first = gifOf(render());
    for (const char16_t* other : {u"Order 1043", u"", u"order 1042"}) {
        const fmw::CallResult outcome = render(other);
        ASSERT_EQ(outcome.result.type(), Value::Type::Text);
        EXPECT_EQ(outcome.result.textValue(), u"UNSIGNED");
        EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"0");
    }
    EXPECT_EQ(gifOf(render()), first) << "the same signature renders the same again";
}

TEST_F(RealControl, PenWidthChangesTheBytesNeverTheSize) {
    const std::vector<std::uint8_t> standard = gifOf(render());
    EXPECT_EQ(plugin.text(u"ZERA_SetImagePenWidth", {N(40)}), u"0");
    const fmw::CallResult wide = render();
    const std::vector<std::uint8_t> wideBytes = gifOf(wide);
    EXPECT_NE(wideBytes, standard);
    EXPECT_EQ(decode(wideBytes).width, 215);
    EXPECT_EQ(decode(wideBytes).height, 70);
    EXPECT_GT(decode(wideBytes).darkPixels, decode(standard).darkPixels);
    const auto& size = wide.result.containerValue().imageSize;
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(*size, std::make_pair(std::int16_t{215}, std::int16_t{70}));
    for (double odd : {0.0, -3.0, 100000.0}) {
        EXPECT_EQ(plugin.text(u"ZERA_SetImagePenWidth", {N(odd)}), u"0");
        EXPECT_EQ(decode(gifOf(render())).width, 215) << "pen width " << odd;
    }
}

TEST_F(RealControl, SavedFileIsTheRenderedImage) {
    const fs::path path = fs::temp_directory_path() / ("zera-real-" + std::to_string(::getpid()) + ".gif");
    const std::vector<std::uint8_t> rendered = gifOf(render());
    EXPECT_EQ(plugin.text(u"ZERA_SaveSigToFile", {T(signature), T(u"Order 1042"), T(path.u16string())}), u"0");
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(written, rendered);
    fs::remove(path);
}

TEST_F(RealControl, AGarbledSignatureIsUnsigned) {
    std::u16string garbled = signature;
    garbled[garbled.size() / 2] = garbled[garbled.size() / 2] == u'A' ? u'B' : u'A';
    EXPECT_EQ(plugin.run(u"ZERA_RenderSigFromString", {T(garbled), T(u"Order 1042")}).result.textValue(),
              u"UNSIGNED");
    EXPECT_EQ(plugin.run(u"ZERA_RenderSigFromString", {T(u""), T(u"Order 1042")}).result.textValue(), u"UNSIGNED");
}

}  // namespace
