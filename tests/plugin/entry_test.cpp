#include "PluginModule.h"

#include <winplatform/diagnostics.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>

namespace {

using fmw::Value;

TEST(PluginEntry, VersionGateAcceptsOnly50To255) {
    const struct {
        std::int16_t version;
        std::int64_t answer;
    } cases[] = {{49, -1}, {50, 53}, {120, 53}, {255, 53}, {256, -1}, {-1, -1}, {-32768, -1}, {0, -1}};
    for (const auto& c : cases) {
        PluginModule plugin;
        EXPECT_EQ(plugin.startup(c.version), c.answer) << "host version " << c.version;
        const std::size_t expected = c.answer == 53 ? 9u : 0u;
        EXPECT_EQ(fmw::registeredFunctions().size(), expected) << "host version " << c.version;
        EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
    }
}

TEST(PluginEntry, StartupWritesItsAnswerAtTheHostsOffsetAndNothingElse) {
    PluginModule plugin;
    fmw::CallBlockBytes b = plugin.block(fmw::kWhichCallInit);
    b.setParm1(1);             // FileMaker Pro
    b.setParm2(0x5C5C5C5C);    // the host's version text: not read
    b.setResult(0x3C3C3C3C);
    const auto before = b.bytes();
    plugin.call(b);
    EXPECT_EQ(b.result(), 53);
    const std::size_t resultEnd = fmw::kHostLayout.result + fmw::kHostLayout.pointerWidth;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (i >= fmw::kHostLayout.result && i < resultEnd) continue;
        EXPECT_EQ(b.bytes()[i], before[i]) << "byte " << i;
    }
}

TEST(PluginEntry, RegistersTheNineFunctionsInTableOrder) {
    PluginModule plugin;
    ASSERT_EQ(plugin.startup(), 53);
    const struct {
        std::int16_t id;
        const char16_t* name;
        const char16_t* prototype;
        std::int16_t min, max;
    } expected[] = {
        {151, u"ZERA_Version", u"ZERA_Version( type )", 0, 1},
        {152, u"ZERA_SetBannerPath", u"ZERA_SetBannerPath( BMPLocation )", 0, 1},
        {153, u"ZERA_CaptureSignature", u"ZERA_CaptureSignature( BoundData )", 1, 1},
        {154, u"ZERA_RenderSigFromString", u"ZERA_RenderSigFromString( SignatureASCII ; BoundData )", 2, 2},
        {159, u"ZERA_SetTabletMode", u"ZERA_SetTabletMode( Mode )", 1, 1},
        {160, u"ZERA_SetImagePenWidth", u"ZERA_SetImagePenWidth( Pixels )", 1, 1},
        {162, u"ZERA_SetTabletComPort", u"ZERA_SetTabletComPort( PortNum )", 1, 1},
        {163, u"ZERA_SaveSigToFile", u"ZERA_SaveSigToFile( SignatureASCII ; BoundData ; Path )", 3, 3},
        {164, u"ZERA_GetLastError", u"ZERA_GetLastError( Type )", 0, 1},
    };
    const auto registered = fmw::registeredFunctions();
    ASSERT_EQ(registered.size(), std::size(expected));
    for (std::size_t i = 0; i < registered.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(registered[i].pluginId, "ZERA");
        EXPECT_EQ(registered[i].id, expected[i].id);
        EXPECT_EQ(registered[i].name, expected[i].name);
        EXPECT_EQ(registered[i].prototype, expected[i].prototype);
        EXPECT_EQ(registered[i].minArgs, expected[i].min);
        EXPECT_EQ(registered[i].maxArgs, expected[i].max);
        EXPECT_EQ(registered[i].flags, 0xFF01u);
        EXPECT_NE(registered[i].handler, nullptr);
    }
    EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
    EXPECT_EQ(fmw::misuseCount(), 0u);
}

TEST(PluginEntry, GetStringAnswersTheHostsRequests) {
    PluginModule plugin;
    EXPECT_EQ(textOf(plugin.getString(128, 1024)), u"Penvira Sig Capture");
    EXPECT_EQ(textOf(plugin.getString(131, 1024)), u"ZERA1nnYnnn");
    EXPECT_EQ(textOf(plugin.getString(1, 1024)), u"ZERA1nnYnnn");
    const std::u16string description = textOf(plugin.getString(129, 1024));
    const std::u16string firstLine = u"This plug-in will read signature data from Topaz\u00AE signature scanners. \n";
    ASSERT_GE(description.size(), firstLine.size());
    EXPECT_EQ(description.substr(0, firstLine.size()), firstLine);
    const std::u16string rest = description.substr(firstLine.size());
    EXPECT_EQ(std::count(rest.begin(), rest.end(), u'\n'), 1) << "two further lines separated by LF";
    EXPECT_EQ(textOf(plugin.getString(151, 1024)), u"ZERA_Version( type )");
}

TEST(PluginEntry, GetStringCutsToTheBufferAndTerminates) {
    PluginModule plugin;
    const auto buffer = plugin.getString(128, 5);
    EXPECT_EQ(std::u16string(buffer.data(), 4), u"Penv");
    EXPECT_EQ(buffer[4], 0);
    EXPECT_EQ(buffer[5], 0xAAAA) << "nothing is written past the capacity";
    const auto one = plugin.getString(128, 1);
    EXPECT_EQ(one[0], 0);
    EXPECT_EQ(one[1], 0xAAAA);
}

TEST(PluginEntry, GetStringWithNoCapacityOrNoBufferWritesNothing) {
    PluginModule plugin;
    const auto buffer = plugin.getString(128, 0);
    for (std::size_t i = 0; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xAAAA) << "unit " << i;

    fmw::CallBlockBytes b = plugin.block(fmw::kWhichCallGetString);
    b.setParm1(128);
    b.setParm3(64);
    b.setResult(0);  // no buffer at all: a write through it would end the test here
    const auto before = b.bytes();
    plugin.call(b);
    EXPECT_EQ(b.bytes(), before) << "get-string only reads the block";
}

TEST(PluginEntry, GetStringForAnIdWithoutStringLeavesAnEmptyString) {
    PluginModule plugin;
    const auto buffer = plugin.getString(200, 16);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 0xAAAA);
}

TEST(PluginEntry, UnknownCallTypesChangeNothingInTheBlock) {
    PluginModule plugin;
    for (int type : {1, 2, 3, 6, 8, 100, 255}) {
        fmw::CallBlockBytes b = plugin.block(0);
        b.fill(0x5C);
        b.setWhichCall(static_cast<std::uint8_t>(type));
        const auto before = b.bytes();
        plugin.call(b);
        EXPECT_EQ(b.bytes(), before) << "call type " << type;
    }
    EXPECT_TRUE(fmw::registeredFunctions().empty());
}

TEST(PluginEntry, ShutdownUnregistersTheWholeReservedRange) {
    PluginModule plugin;
    ASSERT_EQ(plugin.startup(), 53);
    plugin.shutdown();
    const auto requests = fmw::unregisterRequests();
    ASSERT_EQ(requests.size(), 32u);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].first, "ZERA");
        EXPECT_EQ(requests[i].second, static_cast<std::int16_t>(148 + i));
    }
    EXPECT_TRUE(fmw::registeredFunctions().empty());
    EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
}

TEST(PluginEntry, ShutdownWithoutStartupIsHarmless) {
    PluginModule plugin;
    plugin.shutdown();
    EXPECT_EQ(fmw::unregisterRequests().size(), 32u);
    EXPECT_EQ(fmw::misuseCount(), 0u);
}

TEST(PluginEntry, SecondStartupGivesAFreshLastError) {
    PluginModule plugin;
    ASSERT_EQ(plugin.startup(), 53);
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"/no/such/banner.bmp")}), u"!!ERROR!!");
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"-13000");
    plugin.shutdown();
    ASSERT_EQ(plugin.startup(), 53);
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"0");
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError"), u"") << "a new record has no message";
}

TEST(PluginEntry, PreferencesShowNothingAndChangeNothing) {
    PluginModule plugin;
    ASSERT_EQ(plugin.startup(), 53);
    plugin.text(u"ZERA_SetBannerPath", {T(u"")});
    fmw::CallBlockBytes b = plugin.block(fmw::kWhichCallPreferences);
    b.setResult(777);
    const auto before = b.bytes();
    plugin.call(b);
    EXPECT_EQ(b.bytes(), before);
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"-13000");
    // Preferences need no start-up.
    PluginModule fresh;
    fresh.preferences();
    EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
}

TEST(PluginEntry, EveryCallButGetStringRunsInTheModulesContext) {
    PluginModule plugin;
    const auto activations = [] { return winplatform::activationStats().activations; };
    auto before = activations();
    ASSERT_EQ(plugin.startup(), 53);
    EXPECT_EQ(activations(), before + 1);
    before = activations();
    plugin.getString(128, 64);
    EXPECT_EQ(activations(), before) << "get-string opens no module scope";
    before = activations();
    plugin.text(u"ZERA_Version");
    plugin.text(u"ZERA_GetLastError");
    plugin.text(u"ZERA_SetTabletMode", {N(6)});
    EXPECT_EQ(activations(), before + 3);
    before = activations();
    plugin.preferences();
    plugin.shutdown();
    EXPECT_EQ(activations(), before + 2);
    const auto stats = winplatform::activationStats();
    EXPECT_EQ(stats.activations, stats.deactivations);
    EXPECT_EQ(stats.depth, 0u);
}

TEST(PluginEntry, RejectedStartupRunsInTheModulesContextToo) {
    PluginModule plugin;
    const auto before = winplatform::activationStats();
    EXPECT_EQ(plugin.startup(49), -1);
    const auto after = winplatform::activationStats();
    EXPECT_EQ(after.activations, before.activations + 1);
    EXPECT_EQ(after.depth, 0u);
}

}  // namespace

namespace {

// Each test loads the module afresh; that is only true if unloading really
// takes it out of the process.
TEST(PluginModuleLoading, UnloadingTakesTheModuleOutOfTheProcess) {
    { PluginModule plugin; }
    EXPECT_EQ(dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_NOLOAD), nullptr);
}

}  // namespace
