// The capture function and its dialog, against a control that records its
// calls; input comes from a scripted source, as from a pad script.
#include "FakeControl.h"
#include "PadSetUpCalls.h"
#include "ScriptedInput.h"
#include "StartedPlugin.h"
#include "TemporaryDriveC.h"

#include <winplatform/diagnostics.h>
#include <winplatform/headless_input.h>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using winplatform::InputEvent;

InputEvent click(UINT id) { return clickOn(id); }
InputEvent escape() { return {InputEvent::Kind::Key, 0, VK_ESCAPE, {}, 0}; }

class Capture : public StartedPlugin {
protected:
    void TearDown() override {
        winplatform::setInputSource(nullptr);
        StartedPlugin::TearDown();
        EXPECT_EQ(control.objectsAlive(), 0);
        EXPECT_EQ(winplatform::comInitCount(), 1u) << "only the registration's own";
    }
    std::u16string capture(std::deque<InputEvent> events, const std::u16string& bound = u"Order 1042") {
        scriptInput(std::move(events));
        return plugin.text(u"ZERA_CaptureSignature", {T(bound)});
    }
    std::string log() const { return driveC.log(); }
    std::vector<std::string> callsFrom(const std::string& first) const {
        const auto& calls = control.calls();
        const auto at = std::find(calls.begin(), calls.end(), first);
        return {at, calls.end()};
    }

    TemporaryDriveC driveC{"capture"};
    FakeControlRegistration control;
};

TEST_F(Capture, AProbeThatFailsOpensNoDialog) {
    control.script().failing = {{zera::sigplus::PadReset, 0}};
    EXPECT_EQ(capture({click(IDOK)}), u"!!ERROR!!");
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"-13002");
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError"), u"Ensure that the SigPlus software is properly installed.");
    EXPECT_EQ(control.calls(), (std::vector<std::string>{"method PadReset -> 0x80020009"}));
    EXPECT_EQ(control.objectsCreated(), 1);
}

TEST_F(Capture, SetUpConnectsOnceThenDrawsAndDefinesTheKeys) {
    EXPECT_EQ(plugin.text(u"ZERA_SetTabletMode", {N(11)}), u"0");
    EXPECT_EQ(plugin.text(u"ZERA_SetTabletComPort", {N(3)}), u"0");
    capture({click(11006), click(IDOK)});
    const std::vector<std::string> calls = callsFrom("put PadKind 11");
    ASSERT_GT(calls.size(), 30u);
    std::vector<std::string> setUp = {"put PadKind 11", "put PadPort 3"};
    setUp.insert(setUp.end(), kPadSetUpCalls.begin(), kPadSetUpCalls.end());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(setUp.size())),
              setUp);
    const auto count = [&](const std::string& call) { return std::count(calls.begin(), calls.end(), call); };
    EXPECT_EQ(count("put PadKind 11"), 1) << "Clear does not connect again";
    EXPECT_EQ(count("method DisplaySetup 0 240 64 100 0 1900 700"), 2) << "but sets the pad up again";
    EXPECT_EQ(count("method HotSpotDefine 0 1 177 7 48 15"), 2) << "the OK key lies 5 pixels below its image";
    EXPECT_EQ(count("method HotSpotDefine 1 1 15 7 48 15"), 2);
    EXPECT_EQ(count("put InkEnabled 1"), 2);
}

TEST_F(Capture, SettingsOutliveAShutdownAndTheNextStartUp) {
    EXPECT_EQ(plugin.text(u"ZERA_SetTabletMode", {N(11)}), u"0");
    EXPECT_EQ(plugin.text(u"ZERA_SetTabletComPort", {N(3)}), u"0");
    plugin.shutdown();
    ASSERT_EQ(plugin.startup(), 53);
    capture({click(IDCANCEL)});
    const std::vector<std::string> calls = callsFrom("put PadKind 11");
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[1], "put PadPort 3");
}

TEST_F(Capture, OkWithoutInkIsUnsigned) {
    EXPECT_EQ(capture({click(IDOK)}), u"UNSIGNED");
    const auto& calls = control.calls();
    EXPECT_EQ(calls.back(), "put DisplayMode 1");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "method BindBegin"), 0) << "nothing is bound";
}

TEST_F(Capture, OkWithInkBindsTheDataAndReadsTheSignature) {
    control.script().inkPoints = 120;
    EXPECT_EQ(capture({click(IDOK)}, u""), u"SIG1:fake");
    const std::vector<std::string> accept = callsFrom("method BindBegin");
    EXPECT_EQ(accept, (std::vector<std::string>{"method BindBegin", "method BindAddText ", "method BindEnd",
                                                "put PackingMode 0", "put CipherMode 2", "get SignatureText",
                                                "put DisplayMode 1"}));
}

TEST_F(Capture, CancelClearsThePadAndKeepsTheLastError) {
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"")}), u"!!ERROR!!");
    for (const auto& events : {std::deque<InputEvent>{click(IDCANCEL)}, std::deque<InputEvent>{escape()},
                               std::deque<InputEvent>{}}) {
        EXPECT_EQ(capture(events), u"");
        EXPECT_EQ(control.calls().back(), "method DisplayClearArea 0 0 0 240 64");
    }
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"-13000");
}

TEST_F(Capture, TheLogTellsTheWholeCapture) {
    capture({click(IDOK)});
    const std::string expected =
        "\r\n\r\n####################################################\r\n\r\n"
        "0)\tCreating the dialog and calling \"DoModal()\"\r\n"
        "1)\tCreating the new DlgCapture object\r\n"
        "2)\tNon LCD build\r\n"
        "3)\tFinished creating the new DlgCapture object\r\n"
        "4)\tEntering:\tOnInitDialog()\r\n"
        "5)\tEntering:\tDoDataExchange()\r\n"
        "6)\tExiting:\tDoDataExchange()\r\n"
        "7)\tEntering:\tGetConnected()\r\n"
        "8)\tExiting:\tGetConnected()\r\n"
        "9)\tExiting:\tOnInitDialog()\r\n"
        "10)\tEntering:\tOnOK()\r\n"
        "11)\tEntering:\tDoDataExchange()\r\n"
        "12)\tExiting:\tDoDataExchange()\r\n"
        "13)\tExiting:\tOnOK()\r\n"
        "14)\t\"DoModal()\" returned a value of 1\r\n";
    EXPECT_EQ(log(), expected);
    capture({click(IDCANCEL)});
    EXPECT_NE(log().find("25)\tEntering: OnCancel()\r\n26)\tExiting: OnCancel()\r\n27)\t\"DoModal()\" returned a value of 2\r\n"),
              std::string::npos)
        << log();
}

TEST(CaptureWithoutControl, TheDialogCannotOpenSaysSoInTheLastErrorAndTheLogSaysMinusOneAfreshAtEachLoad) {
    const TemporaryDriveC driveC("nocontrol");
    std::string firstLoad;
    for (int load = 0; load < 2; ++load) {
        PluginModule plugin;
        ASSERT_EQ(plugin.startup(), 53);
        EXPECT_EQ(plugin.text(u"ZERA_CaptureSignature", {T(u"Order 1042")}), u"");
        EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"-13002") << "not a cancellation";
        plugin.shutdown();
        if (load == 0) firstLoad = driveC.log();
    }
    EXPECT_NE(firstLoad.find("\"DoModal()\" returned a value of -1\r\n"), std::string::npos) << firstLoad;
    EXPECT_EQ(firstLoad.rfind("\r\n\r\n####################################################\r\n\r\n0)\t", 0), 0u);
    EXPECT_EQ(driveC.log(), firstLoad + firstLoad) << "a new load writes a new separator and counts from 0";
}

}  // namespace
