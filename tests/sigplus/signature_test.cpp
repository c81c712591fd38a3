// Signature strings: made from ink under bound data and modes, and read back
// only under the same ones.
#include "sigplus_fixture.h"

#include <fstream>
#include <sstream>

namespace {

using namespace sigplus_test;
namespace d = sigplus::dispid;

struct Modes {
    SHORT packing;
    SHORT cipher;
};

// What the capture dialog does on accept: bind, put the modes, read.
std::u16string capture(const sigplus::Ink& ink, const std::vector<std::u16string>& bound, Modes modes) {
    Control control;
    EXPECT_EQ(control.created, S_OK);
    addInk(control, ink);
    control.bind(bound);
    EXPECT_EQ(control.putI2(d::PackingMode, modes.packing), S_OK);
    EXPECT_EQ(control.putI2(d::CipherMode, modes.cipher), S_OK);
    return control.getText(d::SignatureText);
}

// What a render does: bind with CipherMode 0, then the stored modes, then
// the string; the point count it reports.
SHORT load(Control& control, const std::u16string& signature, const std::vector<std::u16string>& bound, Modes modes) {
    EXPECT_EQ(control.call(d::PadReset), S_OK);
    EXPECT_EQ(control.putI2(d::PackingMode, modes.packing), S_OK);
    EXPECT_EQ(control.putI2(d::CipherMode, 0), S_OK);
    control.bind(bound);
    EXPECT_EQ(control.putI2(d::PackingMode, modes.packing), S_OK);
    EXPECT_EQ(control.putI2(d::CipherMode, modes.cipher), S_OK);
    EXPECT_EQ(control.putText(d::SignatureText, signature), S_OK);
    return control.callI2(d::SignaturePointCount);
}

SHORT pointsOf(const std::u16string& signature, const std::vector<std::u16string>& bound, Modes modes) {
    Control control;
    return load(control, signature, bound, modes);
}

const std::vector<std::u16string> kOrder = {u"Order 1042"};
constexpr Modes kDefault{0, 2};

class Signature : public ControlTest {};

TEST_F(Signature, RoundTripsTheInkUnderTheSameBindingAndModes) {
    const sigplus::Ink ink = sampleInk();
    const std::u16string signature = capture(ink, kOrder, kDefault);
    ASSERT_FALSE(signature.empty());
    for (const char16_t c : signature) ASSERT_TRUE(c > 0x20 && c < 0x7F) << "not printable ASCII";

    Control control;
    EXPECT_EQ(load(control, signature, kOrder, kDefault), static_cast<SHORT>(sigplus::pointCount(ink)));
    EXPECT_EQ(control.ink(), ink);
    EXPECT_EQ(control.callI2(d::InkPointCount), static_cast<SHORT>(sigplus::pointCount(ink)));
}

TEST_F(Signature, OtherBoundDataGivesNoPoints) {
    const std::u16string signature = capture(sampleInk(), kOrder, kDefault);
    EXPECT_EQ(pointsOf(signature, {u"Order 1043"}, kDefault), 0);
    EXPECT_EQ(pointsOf(signature, {u"order 1042"}, kDefault), 0);
    EXPECT_EQ(pointsOf(signature, {}, kDefault), 0);
    EXPECT_EQ(pointsOf(signature, {u"Order 1042", u""}, kDefault), 0);
    EXPECT_EQ(pointsOf(signature, {u"Order ", u"1042"}, kDefault), 0);
}

TEST_F(Signature, TheOrderOfBoundTextsMatters) {
    const std::u16string signature = capture(sampleInk(), {u"Order 1042", u"Ann Lee"}, kDefault);
    EXPECT_GT(pointsOf(signature, {u"Order 1042", u"Ann Lee"}, kDefault), 0);
    EXPECT_EQ(pointsOf(signature, {u"Ann Lee", u"Order 1042"}, kDefault), 0);
}

TEST_F(Signature, OtherCipherModesGiveNoPoints) {
    const std::u16string encrypted = capture(sampleInk(), kOrder, kDefault);
    EXPECT_EQ(pointsOf(encrypted, kOrder, {0, 0}), 0);
    EXPECT_EQ(pointsOf(encrypted, kOrder, {0, 1}), 0);
    EXPECT_EQ(pointsOf(encrypted, kOrder, {0, 3}), 0);
    const std::u16string plain = capture(sampleInk(), kOrder, {0, 0});
    EXPECT_GT(pointsOf(plain, kOrder, {0, 0}), 0);
    EXPECT_EQ(pointsOf(plain, kOrder, kDefault), 0);
}

TEST_F(Signature, OtherPackingModesGiveNoPoints) {
    const std::u16string stored = capture(sampleInk(), kOrder, kDefault);
    EXPECT_EQ(pointsOf(stored, kOrder, {1, 2}), 0);
    const std::u16string packed = capture(sampleInk(), kOrder, {6, 2});
    EXPECT_GT(pointsOf(packed, kOrder, {6, 2}), 0);
    EXPECT_EQ(pointsOf(packed, kOrder, {5, 2}), 0);
    EXPECT_EQ(pointsOf(packed, kOrder, {0, 2}), 0);
}

TEST_F(Signature, EveryModeCombinationRoundTrips) {
    const sigplus::Ink ink = sampleInk();
    for (const SHORT packing : {SHORT{-1}, SHORT{0}, SHORT{1}, SHORT{9}, SHORT{12}}) {
        for (const SHORT cipher : {SHORT{-4}, SHORT{0}, SHORT{1}, SHORT{2}, SHORT{7}}) {
            SCOPED_TRACE(std::to_string(packing) + "/" + std::to_string(cipher));
            const std::u16string signature = capture(ink, kOrder, {packing, cipher});
            Control control;
            EXPECT_EQ(load(control, signature, kOrder, {packing, cipher}), static_cast<SHORT>(sigplus::pointCount(ink)));
            EXPECT_EQ(control.ink(), ink);
        }
    }
}

TEST_F(Signature, PackingCompressesALongSignature) {
    sigplus::Ink ink;
    for (int s = 0; s < 20; ++s) {
        sigplus::Stroke stroke;
        for (int i = 0; i < 200; ++i) stroke.push_back({static_cast<std::int16_t>(i * 3), static_cast<std::int16_t>(s * 30 + (i % 7))});
        ink.push_back(stroke);
    }
    const std::u16string stored = capture(ink, kOrder, {0, 2});
    const std::u16string packed = capture(ink, kOrder, {9, 2});
    EXPECT_LT(packed.size() * 2, stored.size());
    EXPECT_EQ(pointsOf(packed, kOrder, {9, 2}), 4000);
}

TEST_F(Signature, EncryptionHidesTheInkAndUsesAFreshNonceEachTime) {
    const std::u16string first = capture(sampleInk(), kOrder, kDefault);
    const std::u16string second = capture(sampleInk(), kOrder, kDefault);
    EXPECT_NE(first, second);
    EXPECT_GT(pointsOf(second, kOrder, kDefault), 0);
    // Without encryption the string is the same for the same ink.
    EXPECT_EQ(capture(sampleInk(), kOrder, {0, 0}), capture(sampleInk(), kOrder, {0, 0}));
}

TEST_F(Signature, EveryAlteredCharacterGivesNoPoints) {
    for (const Modes modes : {kDefault, Modes{0, 0}, Modes{6, 0}}) {
        const std::u16string signature = capture(sampleInk(), kOrder, modes);
        Control control;
        for (std::size_t i = 0; i < signature.size(); ++i) {
            std::u16string altered = signature;
            altered[i] = altered[i] == u'A' ? u'B' : u'A';
            ASSERT_EQ(load(control, altered, kOrder, modes), 0) << "character " << i;
        }
    }
}

TEST_F(Signature, EveryTruncationGivesNoPoints) {
    const std::u16string signature = capture(sampleInk(), kOrder, kDefault);
    Control control;
    for (std::size_t length = 0; length < signature.size(); ++length) {
        ASSERT_EQ(load(control, signature.substr(0, length), kOrder, kDefault), 0) << "length " << length;
    }
    EXPECT_EQ(load(control, signature + u"A", kOrder, kDefault), 0);
}

TEST_F(Signature, TextsThatAreNoSignatureGiveNoPoints) {
    Control control;
    const std::u16string signature = capture(sampleInk(), kOrder, kDefault);
    const std::u16string texts[] = {
        u"",
        u"SIG1:",
        u"UNSIGNED",
        u"sig1:" + signature.substr(5),
        signature.substr(0, 5) + u"\u00e9" + signature.substr(6),
        std::u16string(2u << 20, u'A'),
        u"SIG1:" + std::u16string(4000, u'_'),
        std::u16string(signature.begin(), signature.begin() + 10) + std::u16string(1, u'\0') + signature.substr(11),
    };
    for (const std::u16string& text : texts) EXPECT_EQ(load(control, text, kOrder, kDefault), 0);
    // A text that does not load replaces what was loaded before.
    ASSERT_GT(load(control, signature, kOrder, kDefault), 0);
    EXPECT_EQ(control.putText(d::SignatureText, u"garbage"), S_OK);
    EXPECT_EQ(control.callI2(d::SignaturePointCount), 0);
}

TEST_F(Signature, NoInkGivesAnEmptyString) {
    Control control;
    control.bind(kOrder);
    EXPECT_EQ(control.getText(d::SignatureText), u"");
}

TEST_F(Signature, TheBindingMustBeFinishedToReadTheString) {
    Control control;
    addInk(control, sampleInk());
    ASSERT_EQ(control.call(d::BindBegin), S_OK);
    VARIANT result;
    EXCEPINFO exception{};
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(control.dispatch->Invoke(d::SignatureText, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result,
                                       &exception, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, E_UNEXPECTED);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    ASSERT_EQ(control.call(d::BindEnd), S_OK);
    EXPECT_EQ(control.call(d::BindEnd), DISP_E_EXCEPTION);  // no binding open any more
    EXPECT_FALSE(control.getText(d::SignatureText).empty());
}

TEST_F(Signature, ANewBindingReplacesTheOldOne) {
    Control control;
    addInk(control, sampleInk());
    control.bind({u"first"});
    control.bind(kOrder);
    const std::u16string signature = control.getText(d::SignatureText);
    EXPECT_GT(pointsOf(signature, kOrder, {0, 0}), 0);
    EXPECT_EQ(pointsOf(signature, {u"first", u"Order 1042"}, {0, 0}), 0);
}

TEST_F(Signature, ClearInkAndPadResetDiscardTheInk) {
    Control control;
    addInk(control, sampleInk());
    EXPECT_EQ(control.callI2(d::InkPointCount), static_cast<SHORT>(sigplus::pointCount(sampleInk())));
    ASSERT_EQ(control.call(d::ClearInk), S_OK);
    EXPECT_EQ(control.callI2(d::InkPointCount), 0);
    addInk(control, sampleInk());
    ASSERT_EQ(control.putI2(d::CipherMode, 2), S_OK);
    ASSERT_EQ(control.call(d::PadReset), S_OK);
    EXPECT_EQ(control.callI2(d::InkPointCount), 0);
    VARIANT mode;
    ASSERT_EQ(control.get(d::CipherMode, mode), S_OK);
    EXPECT_EQ(mode.iVal, 0);
}

TEST_F(Signature, PenInputRefusesEmptyStrokesAndTooManyPoints) {
    Control control;
    EXPECT_EQ(control.addStroke({}), E_INVALIDARG);
    const sigplus::Stroke big(sigplus::kMaxInkPoints, sigplus::Point{10, 10});
    EXPECT_EQ(control.addStroke(big), S_OK);
    EXPECT_EQ(control.addStroke({{1, 1}}), E_INVALIDARG);
    EXPECT_EQ(control.callI2(d::InkPointCount), 32767);
    control.bind(kOrder);
    const std::u16string signature = control.getText(d::SignatureText);
    EXPECT_EQ(pointsOf(signature, kOrder, {0, 0}), 32767);
}

TEST_F(Signature, TheBundledExampleOpensWithItsOrderNumber) {
    std::ifstream file(ZERA_SOURCE_DIR "/examples/signature.txt");
    ASSERT_TRUE(file);
    std::string text;
    std::getline(file, text);
    std::ifstream strokes(ZERA_SOURCE_DIR "/examples/signature.strokes");
    ASSERT_TRUE(strokes);
    std::size_t points = 0;
    for (std::string line; std::getline(strokes, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream tokens(line);
        for (std::string token; tokens >> token;) ++points;
    }
    const std::u16string signature(text.begin(), text.end());
    EXPECT_EQ(pointsOf(signature, kOrder, kDefault), static_cast<SHORT>(points));
    EXPECT_EQ(pointsOf(signature, {u"Order 1043"}, kDefault), 0);
}

}  // namespace
