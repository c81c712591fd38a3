// Images from the control's render buffer, and the persisted state.
#include "sigplus_fixture.h"

#include "GifPixels.h"

#include <cstring>
#include <optional>
#include <set>

namespace {

using namespace sigplus_test;
namespace d = sigplus::dispid;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> grey;  // one value per pixel
    std::size_t dark() const {
        std::size_t n = 0;
        for (const auto g : grey) n += g < 128 ? 1 : 0;
        return n;
    }
    std::uint8_t at(int x, int y) const { return grey[static_cast<std::size_t>(y * width + x)]; }
};

// The image decoded with giflib; nothing when the bytes are not a GIF.
std::optional<Image> decode(const std::vector<std::uint8_t>& bytes) {
    const DecodedGif gif = decodeGif(bytes);
    if (!gif.read || !gif.frameFillsScreen) return std::nullopt;
    return Image{gif.width, gif.height, greysOf(gif)};
}

// The render of the plug-in: settings, RenderToBuffer, then one byte per call.
std::vector<std::uint8_t> render(Control& control, SHORT width, SHORT height, SHORT penWidth) {
    EXPECT_EQ(control.putI2(d::RenderOption, 0), S_OK);
    EXPECT_EQ(control.putI2(d::RenderWidth, width), S_OK);
    EXPECT_EQ(control.putI2(d::RenderHeight, height), S_OK);
    EXPECT_EQ(control.putI2(d::RenderPenWidth, penWidth), S_OK);
    EXPECT_EQ(control.putI2(d::RenderFormat, 5), S_OK);
    EXPECT_EQ(control.call(d::RenderToBuffer), S_OK);
    const LONG size = control.callI4(d::RenderBufferSize);
    std::vector<std::uint8_t> bytes;
    for (LONG i = 0; i < size; ++i) {
        VARIANT byte;
        EXPECT_EQ(control.call(d::RenderBufferByte, {i4(i)}, &byte), S_OK);
        EXPECT_EQ(byte.vt, VT_I2);
        EXPECT_GE(byte.iVal, 0);
        EXPECT_LE(byte.iVal, 255);
        bytes.push_back(static_cast<std::uint8_t>(byte.iVal));
    }
    EXPECT_EQ(control.call(d::RenderBufferRelease), S_OK);
    return bytes;
}

class Render : public ControlTest {};

TEST_F(Render, TheBufferIsEmptyBeforeRenderingAndAfterRelease) {
    Control control;
    addInk(control, sampleInk());
    EXPECT_EQ(control.callI4(d::RenderBufferSize), 0);
    EXPECT_EQ(control.call(d::RenderBufferByte, {i4(0)}), DISP_E_EXCEPTION);
    ASSERT_EQ(control.call(d::RenderToBuffer), S_OK);
    EXPECT_GT(control.callI4(d::RenderBufferSize), 0);
    ASSERT_EQ(control.call(d::RenderBufferRelease), S_OK);
    EXPECT_EQ(control.callI4(d::RenderBufferSize), 0);
}

TEST_F(Render, ABytePastEitherEndOfTheBufferIsRefused) {
    Control control;
    addInk(control, sampleInk());
    ASSERT_EQ(control.call(d::RenderToBuffer), S_OK);
    const LONG size = control.callI4(d::RenderBufferSize);
    EXCEPINFO exception{};
    EXPECT_EQ(control.call(d::RenderBufferByte, {i4(size)}, nullptr, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, DISP_E_BADINDEX);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    EXPECT_EQ(control.call(d::RenderBufferByte, {i4(-1)}), DISP_E_EXCEPTION);
    VARIANT last;
    EXPECT_EQ(control.call(d::RenderBufferByte, {i4(size - 1)}, &last), S_OK);
    EXPECT_EQ(last.iVal, 0x3B);  // a GIF ends with its trailer
}

TEST_F(Render, TheByteFetchAnswersAlikeWithoutTheJournal) {
    // Without a journal the per-byte call takes its direct path.
    Control control;
    addInk(control, sampleInk());
    ASSERT_EQ(control.call(d::RenderToBuffer), S_OK);
    const LONG size = control.callI4(d::RenderBufferSize);
    std::vector<SHORT> journalled;
    for (LONG i = 0; i < size; ++i) journalled.push_back(control.callI2(d::RenderBufferByte, {i4(i)}));
    sigplus::setJournalEnabled(false);
    for (LONG i = 0; i < size; ++i) {
        VARIANT byte;
        ASSERT_EQ(control.call(d::RenderBufferByte, {i4(i)}, &byte), S_OK);
        ASSERT_EQ(byte.vt, VT_I2);
        ASSERT_EQ(byte.iVal, journalled[static_cast<std::size_t>(i)]) << "byte " << i;
    }
    EXCEPINFO exception{};
    EXPECT_EQ(control.call(d::RenderBufferByte, {i4(size)}, nullptr, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, DISP_E_BADINDEX);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    EXPECT_EQ(control.call(d::RenderBufferByte, {i2(0)}), DISP_E_TYPEMISMATCH) << "an I2 index is still refused";
}

TEST_F(Render, ALoadedSignatureRendersAsAGifOfTheAskedSize) {
    std::u16string signature;
    {
        Control capture;
        addInk(capture, sampleInk());
        capture.bind({u"Order 1042"});
        ASSERT_EQ(capture.putI2(d::CipherMode, 2), S_OK);
        signature = capture.getText(d::SignatureText);
    }
    Control control;
    ASSERT_EQ(control.call(d::PadReset), S_OK);
    control.bind({u"Order 1042"});
    ASSERT_EQ(control.putI2(d::CipherMode, 2), S_OK);
    ASSERT_EQ(control.putText(d::SignatureText, signature), S_OK);
    ASSERT_GT(control.callI2(d::SignaturePointCount), 0);

    const auto bytes = render(control, 215, 70, 15);
    ASSERT_GT(bytes.size(), 6u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "GIF");
    const auto image = decode(bytes);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 215);
    EXPECT_EQ(image->height, 70);
    EXPECT_GT(image->dark(), 300u);
    EXPECT_LT(image->dark(), 215u * 70u / 3);
    // The ink is inside a white margin.
    for (int x = 0; x < 215; ++x) {
        EXPECT_EQ(image->at(x, 0), 255);
        EXPECT_EQ(image->at(x, 69), 255);
    }
    for (int y = 0; y < 70; ++y) {
        EXPECT_EQ(image->at(0, y), 255);
        EXPECT_EQ(image->at(214, y), 255);
    }
}

TEST_F(Render, TheInkFillsTheImageWhereItWasDrawn) {
    Control control;
    // A stroke along the top and a dot at the bottom right of the ink.
    ASSERT_EQ(control.addStroke({{0, 0}, {1000, 0}}), S_OK);
    ASSERT_EQ(control.addStroke({{1000, 300}}), S_OK);
    const auto image = decode(render(control, 215, 70, 15));
    ASSERT_TRUE(image.has_value());
    std::size_t topDark = 0;
    std::size_t bottomDark = 0;
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 215; ++x) {
            if (image->at(x, y) >= 128) continue;
            (y < 35 ? topDark : bottomDark) += 1;
        }
    }
    EXPECT_GT(topDark, 100u);
    EXPECT_GT(bottomDark, 0u);
    EXPECT_LT(bottomDark, 30u);
}

TEST_F(Render, StrokeEdgesAreShadedAndALongLineIsWhole) {
    Control control;
    // One long diagonal across the whole ink: drawn in pieces, it must have
    // no gaps, and its edges take the grey levels between white and black.
    ASSERT_EQ(control.addStroke({{0, 0}, {3000, 1000}}), S_OK);
    const auto image = decode(render(control, 215, 70, 15));
    ASSERT_TRUE(image.has_value());
    std::set<std::uint8_t> greys(image->grey.begin(), image->grey.end());
    EXPECT_GE(greys.size(), 4u);
    EXPECT_TRUE(greys.count(255) == 1 && greys.count(0) == 1);
    int firstDark = -1;
    int lastDark = -1;
    for (int x = 0; x < 215; ++x) {
        bool dark = false;
        for (int y = 0; y < 70; ++y) dark = dark || image->at(x, y) < 128;
        if (!dark) continue;
        if (firstDark < 0) firstDark = x;
        if (lastDark >= 0) {
            EXPECT_EQ(lastDark, x - 1) << "a gap before column " << x;
        }
        lastDark = x;
    }
    EXPECT_LT(firstDark, 20);
    EXPECT_GT(lastDark, 195);
}

TEST_F(Render, AnotherPenWidthChangesTheBytesNotTheSize) {
    Control control;
    addInk(control, sampleInk());
    const auto thin = render(control, 215, 70, 15);
    const auto thick = render(control, 215, 70, 40);
    const auto thinner = render(control, 215, 70, 8);
    EXPECT_NE(thin, thick);
    EXPECT_NE(thin, thinner);
    const auto a = decode(thin);
    const auto b = decode(thick);
    const auto c = decode(thinner);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(b->width, 215);
    EXPECT_EQ(b->height, 70);
    EXPECT_EQ(c->width, 215);
    EXPECT_GT(b->dark(), a->dark());
    EXPECT_GT(a->dark(), c->dark());
    EXPECT_EQ(render(control, 215, 70, 15), thin);  // the same settings give the same image
}

TEST_F(Render, NonsensicalSettingsAreClampedNeverFatal) {
    Control control;
    addInk(control, sampleInk());
    struct Case {
        SHORT width, height, pen;
        int expectWidth, expectHeight;
    };
    const Case cases[] = {
        {0, 70, 15, 1, 70},     {-5, -5, 15, 1, 1},       {215, 70, 0, 215, 70},
        {215, 70, -3, 215, 70}, {32767, 8, 15, 4096, 8}, {3, 2, 32767, 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " pen " + std::to_string(c.pen));
        const auto image = decode(render(control, c.width, c.height, c.pen));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, c.expectWidth);
        EXPECT_EQ(image->height, c.expectHeight);
    }
    // A hairline is still drawn.
    const auto hairline = decode(render(control, 215, 70, 0));
    ASSERT_TRUE(hairline.has_value());
    EXPECT_GT(hairline->dark(), 50u);
}

TEST_F(Render, NoInkGivesABlankImage) {
    Control control;
    const auto image = decode(render(control, 215, 70, 15));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 215);
    EXPECT_EQ(image->dark(), 0u);
}

TEST_F(Render, OnlyTheGifFormatIsRendered) {
    Control control;
    addInk(control, sampleInk());
    ASSERT_EQ(control.putI2(d::RenderFormat, 3), S_OK);
    EXPECT_EQ(control.call(d::RenderToBuffer), DISP_E_EXCEPTION);
    EXPECT_EQ(control.callI4(d::RenderBufferSize), 0);
}

// The state the dialog template carries for the control.
const std::vector<BYTE> kSavedState = {
    0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0x02, 0x00, 0x35, 0x25, 0x00, 0x00, 0xc0, 0x0a, 0x00, 0x00,
    0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xec, 0xe9, 0xd8, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x01, 0x00, 0xd0, 0x07, 0x58, 0x02, 0x90, 0x01, 0x5e, 0x01, 0x60, 0x09, 0xb6, 0x03,
    0x04, 0x00, 0x00, 0x00, 0x06, 0x00, 0x01, 0x00, 0x00, 0x4b, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
    0x00,
};

class SavedState : public ControlTest {};

TEST_F(SavedState, TheDialogsStateIsAcceptedAndKept) {
    ASSERT_EQ(kSavedState.size(), 129u);
    Control control;
    ASSERT_EQ(sigplus::loadState(control.dispatch, kSavedState), S_OK);
    const auto own = sigplus::controlOf(control.dispatch);
    ASSERT_TRUE(own);
    sigplus::SavedState state;
    ASSERT_EQ(own->GetState(&state), S_OK);
    EXPECT_EQ(state.version, 0x00020018u);
    EXPECT_EQ(state.extentX, 9525);
    EXPECT_EQ(state.extentY, 2752);
    EXPECT_EQ(state.stockProperties, 9u);
    EXPECT_EQ(state.foreColour, 0x00000000u);
    EXPECT_EQ(state.backColour, 0x00D8E9ECu);
    ASSERT_EQ(state.properties.size(), 101u);
    EXPECT_TRUE(std::equal(state.properties.begin(), state.properties.end(), kSavedState.begin() + 28));
    EXPECT_EQ(state.bytes(), kSavedState);
    // The state does not disturb the dispatch members.
    EXPECT_EQ(control.call(d::PadReset), S_OK);
    EXPECT_EQ(control.callI2(d::InkPointCount), 0);
}

TEST_F(SavedState, AStateShorterThanItsHeaderIsRefused) {
    Control control;
    const std::vector<BYTE> shortState(kSavedState.begin(), kSavedState.begin() + 27);
    EXPECT_EQ(sigplus::loadState(control.dispatch, shortState), E_INVALIDARG);
    const auto own = sigplus::controlOf(control.dispatch);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->LoadState(nullptr, 129), E_POINTER);
    sigplus::SavedState state;
    ASSERT_EQ(own->GetState(&state), S_OK);
    EXPECT_EQ(state.extentX, 9525);  // the defaults stand
    EXPECT_TRUE(state.properties.empty());
}

TEST_F(SavedState, OnlyObjectsOfTheLibraryTakeIt) {
    struct Plain final : IUnknown {
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
    } plain;
    EXPECT_EQ(sigplus::loadState(&plain, kSavedState), E_NOINTERFACE);
    EXPECT_EQ(sigplus::addStroke(&plain, std::vector<sigplus::Point>{{1, 1}}), E_NOINTERFACE);
}

}  // namespace
