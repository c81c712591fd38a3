// How values, the banner and diagnostics look.
#include "printer.h"

#include <gtest/gtest.h>

namespace fmhost {
namespace {

fmw::Container picture() {
    fmw::Container c;
    c.imageSize = std::make_pair(std::int16_t{215}, std::int16_t{70});
    c.fileName = u"sig.gif";
    c.streams.push_back({"GIFf", std::vector<std::uint8_t>(1234, 0)});
    return c;
}

TEST(FormatValue, TextsNumbersAndEmpty) {
    EXPECT_EQ(formatValue(fmw::Value()), "");
    EXPECT_EQ(formatValue(fmw::Value::text(u"caf\u00E9 \u00B6")), "caf\xC3\xA9 \xC2\xB6");
    EXPECT_EQ(formatValue(fmw::Value::text(u"one\rtwo\r\nthree\nfour")), "one\ntwo\nthree\nfour");
    EXPECT_EQ(formatValue(fmw::Value::number(3.0)), "3");
    EXPECT_EQ(formatValue(fmw::Value::number(-0.5)), "-0.5");
}

TEST(FormatValue, ContainersAreDescribedOnOneLine) {
    EXPECT_EQ(formatValue(fmw::Value::container(picture())),
              "<container 215 x 70, file \"sig.gif\", streams: GIFf 1234 bytes>");

    fmw::Container bare;
    bare.streams.push_back({"JPEG", {1}});
    bare.streams.push_back({"GIFf", {1, 2}});
    EXPECT_EQ(formatValue(fmw::Value::container(bare)), "<container streams: JPEG 1 byte, GIFf 2 bytes>");

    fmw::Container named;
    named.fileName = u"x.png";
    EXPECT_EQ(formatValue(fmw::Value::container(named)), "<container file \"x.png\", no streams>");
}

TEST(FormatBanner, StringsThenAlignedFunctionsWithTheirRanges) {
    PluginStrings strings{u"Penvira Sig Capture", u"First line. \nSecond\nThird", u"ZERA1nnYnnn"};
    fmw::FunctionEntry version;
    version.name = u"ZERA_Version";
    version.prototype = u"ZERA_Version( type )";
    version.minArgs = 0;
    version.maxArgs = 1;
    fmw::FunctionEntry noPrototype;
    noPrototype.name = u"ZERA_Bare";
    noPrototype.minArgs = 2;
    noPrototype.maxArgs = -1;
    EXPECT_EQ(formatBanner(strings, {version, noPrototype}),
              "Penvira Sig Capture\n"
              "  First line. \n"
              "  Second\n"
              "  Third\n"
              "options: ZERA1nnYnnn\n"
              "functions (2):\n"
              "  ZERA_Version( type )                         [0..1]\n"
              "  ZERA_Bare                                    [2..]\n"
              "host functions:\n"
              "  Export( container ; path {; streamType} )    [2..3]\n");
}

TEST(FormatDiagnostic, SourceLineColumnMessage) {
    EXPECT_EQ(formatDiagnostic("script.fmcalc", Diagnostic{{12, 5}, "unknown function 'X'"}),
              "script.fmcalc:12:5: error: unknown function 'X'");
}

}  // namespace
}  // namespace fmhost
