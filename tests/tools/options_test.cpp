// The command line.
#include "options.h"

#include <gtest/gtest.h>

namespace fmhost {
namespace {

TEST(Options, PluginScriptAndDefaults) {
    const ParsedOptions parsed = parseOptions({"plugin.fmx", "script.fmcalc"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.pluginPath, "plugin.fmx");
    EXPECT_EQ(parsed.options.scriptPath, "script.fmcalc");
    EXPECT_EQ(parsed.options.hostVersion, 60);
    EXPECT_FALSE(parsed.options.quiet);
    EXPECT_TRUE(parsed.options.expressions.empty());
}

TEST(Options, EveryOption) {
    const ParsedOptions parsed = parseOptions(
        {"-q", "-e", "1", "--host-version", "-7", "p.fmx", "-e", "-x", "--preferences", "-v", "-"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.options.quiet);
    EXPECT_TRUE(parsed.options.verbose);
    EXPECT_TRUE(parsed.options.preferences);
    EXPECT_EQ(parsed.options.hostVersion, -7);
    EXPECT_EQ(parsed.options.expressions, (std::vector<std::string>{"1", "-x"}));
    EXPECT_EQ(parsed.options.pluginPath, "p.fmx");
    EXPECT_EQ(parsed.options.scriptPath, "-");
    EXPECT_FALSE(parsed.options.padScriptPath);
    EXPECT_FALSE(parsed.options.screensFolder);
}

TEST(Options, PadScriptAndScreensFolder) {
    const ParsedOptions parsed = parseOptions({"--pad", "sign.pad", "p.fmx", "--screens", "shots"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.padScriptPath, "sign.pad");
    EXPECT_EQ(parsed.options.screensFolder, "shots");
    EXPECT_EQ(parsed.options.pluginPath, "p.fmx");
    EXPECT_EQ(parseOptions({"p.fmx", "--pad"}).error, "option '--pad' needs a value");
    EXPECT_EQ(parseOptions({"p.fmx", "--screens"}).error, "option '--screens' needs a value");
}

TEST(Options, HostVersionCoversTheWhole16BitRangeAndNoMore) {
    EXPECT_EQ(parseOptions({"--host-version=-32768", "p"}).options.hostVersion, -32768);
    EXPECT_EQ(parseOptions({"--host-version", "32767", "p"}).options.hostVersion, 32767);
    EXPECT_NE(parseOptions({"--host-version", "32768", "p"}).error, "");
    EXPECT_NE(parseOptions({"--host-version", "5x", "p"}).error, "");
    EXPECT_NE(parseOptions({"--host-version=", "p"}).error, "");
}

TEST(Options, Mistakes) {
    EXPECT_EQ(parseOptions({}).error, "no plug-in file given");
    EXPECT_EQ(parseOptions({"p", "s", "t"}).error, "too many arguments: 't'");
    EXPECT_EQ(parseOptions({"--frobnicate", "p"}).error, "unknown option '--frobnicate'");
    EXPECT_EQ(parseOptions({"p", "-e"}).error, "option '-e' needs a value");
    EXPECT_EQ(parseOptions({"-qx", "p"}).error, "unknown option '-x'");
    EXPECT_EQ(parseOptions({"--quiet=yes", "p"}).error, "option '--quiet' takes no value");
    EXPECT_TRUE(parseOptions({"--verb", "p"}).options.verbose) << "a long option may be shortened";
    EXPECT_EQ(parseOptions({"--", "-odd-name.fmx"}).options.pluginPath, "-odd-name.fmx");
    EXPECT_TRUE(parseOptions({"--help"}).options.help);
}

}  // namespace
}  // namespace fmhost
