// Captures through the real Win32 dialog with the recording control made a
// full OLE control: placed in-place in the dialog, given its saved state,
// and touched on the pad, so the PenDown event drives the dialog as the
// real pad does.
#include "FakeControl.h"
#include "ScriptedInput.h"
#include "StartedPlugin.h"
#include "TemporaryDriveC.h"
#include "ole_fake_control.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>

namespace {

using winplatform::InputEvent;
using Lines = std::vector<std::string>;

InputEvent touch(const char* key) { return {InputEvent::Kind::ControlInput, IDC_SIGPLUS, 0, key, 0}; }

Lines join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The log of one capture, numbered from 0 after the separator, as the
// C runtime writes it in text mode.
std::string numberedLog(const Lines& entries) {
    std::string log = "\r\n\r\n####################################################\r\n\r\n";
    for (std::size_t n = 0; n < entries.size(); ++n) log += std::to_string(n) + ")\t" + entries[n] + "\r\n";
    return log;
}

const Lines kOpening = {"Creating the dialog and calling \"DoModal()\"", "Creating the new DlgCapture object",
                        "Non LCD build", "Finished creating the new DlgCapture object"};
const Lines kDataExchange = {"Entering:\tDoDataExchange()", "Exiting:\tDoDataExchange()"};
const Lines kFirstSetUp = join({{"Entering:\tOnInitDialog()"}, kDataExchange,
                                {"Entering:\tGetConnected()", "Exiting:\tGetConnected()", "Exiting:\tOnInitDialog()"}});
const Lines kSetUpAgain = join({{"Entering:\tOnInitDialog()"}, kDataExchange, {"Exiting:\tOnInitDialog()"}});
const Lines kOk = join({{"Entering:\tOnOK()"}, kDataExchange, {"Exiting:\tOnOK()"}});
const Lines kCancel = {"Entering: OnCancel()", "Exiting: OnCancel()"};
Lines returned(int value) { return {"\"DoModal()\" returned a value of " + std::to_string(value)}; }
Lines onPenDown(const Lines& inside) {
    return join({{"Entering:\tOnPenDownSigplusctrl()"}, inside, {"Exiting:\tOnPenDownSigplusctrl()"}});
}

const Lines kPadImages = {"method DisplayBitmap 0 2 0 0 240 64 H", "method DisplayBitmap 0 2 177 2 48 15 H",
                          "method DisplayBitmap 0 2 15 2 48 15 H"};

class OleCapture : public StartedPlugin {
protected:
    void TearDown() override {
        winplatform::setInputSource(nullptr);
        StartedPlugin::TearDown();
        EXPECT_EQ(control.objectsAlive(), 0);
        EXPECT_FALSE(IsWindow(record.window)) << "the control's window goes with it";
        EXPECT_EQ(record.advised, 0) << "the dialog's sink is disconnected";
    }
    std::u16string capture(std::deque<InputEvent> events) {
        scriptInput(std::move(events));
        return plugin.text(u"ZERA_CaptureSignature", {T(u"Order 1042")});
    }
    // The control's calls from its first PenDown, bitmap handles written "H".
    Lines fromPenDown() const {
        const auto& calls = control.calls();
        Lines lines(std::find(calls.begin(), calls.end(), "event PenDown"), calls.end());
        for (std::string& line : lines) {
            if (line.rfind("method DisplayBitmap ", 0) == 0) line = line.substr(0, line.rfind(' ')) + " H";
        }
        return lines;
    }

    TemporaryDriveC driveC{"ole-capture"};
    OleFakeRecord record;
    FakeControlRegistration control{[this] {
        FakeControlScript script;
        makeOleControl(script, record);
        return script;
    }()};
};

TEST_F(OleCapture, TheControlSitsInPlaceInTheDialogWithItsSavedState) {
    // The resource script places the control at 7,7, 240 by 64 dialog units.
    RECT mapped{7, 7, 7 + 240, 7 + 64};
    HWND dialog = nullptr;
    wchar_t dialogClass[16] = {};
    record.activated = [&](HWND window) {
        dialog = GetParent(window);
        GetClassNameW(dialog, dialogClass, 16);
        MapDialogRect(dialog, &mapped);
    };
    capture({});
    EXPECT_TRUE(record.hadClientSite);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(record.parent, dialog);
    EXPECT_STREQ(dialogClass, L"#32770") << "a child of the dialog itself";
    EXPECT_TRUE(EqualRect(&record.position, &mapped));
    EXPECT_TRUE(EqualRect(&record.windowRect, &mapped));

    // The bytes of the dialog's initialisation data for the control.
    HMODULE file = LoadLibraryExW(L"" ZERA_PLUGIN_FILE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(IDD_CAPTURE), MAKEINTRESOURCEW(240));
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(file, found)));
    const DWORD size = SizeofResource(file, found);
    std::vector<BYTE> saved;
    for (DWORD at = 0; at + 8 <= size;) {
        WORD id = 0;
        DWORD length = 0;
        std::memcpy(&id, data + at, 2);
        std::memcpy(&length, data + at + 4, 4);
        if (id == IDC_SIGPLUS) saved.assign(data + at + 8, data + at + 8 + length);
        at += 8 + length;
    }
    FreeLibrary(file);
    EXPECT_EQ(saved.size(), 129u);
    EXPECT_EQ(record.savedState, saved);
}

TEST_F(OleCapture, OkKeyWithInkAcceptsTheSignature) {
    control.script().inkPoints = 120;
    EXPECT_EQ(capture({touch("OK")}), u"SIG1:fake");
    EXPECT_NE(record.window, nullptr);
    EXPECT_EQ(record.idWhenTouched, IDC_SIGPLUS) << "the control's window answers to its dialog ID";
    EXPECT_EQ(fromPenDown(), join({{"event PenDown", "method HotSpotTouched 0", "method InkPointCount",
                                    "method DisplayBitmap 0 2 177 2 48 15 H", "method DisplayBitmap 0 2 0 0 240 64 H",
                                    "method DisplayBitmap 0 2 177 2 48 15 H", "method HotSpotReset 1", "method InkPointCount", "method BindBegin",
                                    "method BindAddText Order 1042", "method BindEnd", "put PackingMode 0",
                                    "put CipherMode 2", "get SignatureText", "put DisplayMode 1",
                                    "method HotSpotTouched 1", "method HotSpotReset 1", "method PadRefresh 1"}}));
    EXPECT_EQ(driveC.log(), numberedLog(join({kOpening, kFirstSetUp, onPenDown(kOk), returned(1)})));
}

TEST_F(OleCapture, OkKeyWithoutInkPromptsAndTheDialogStaysOpen) {
    EXPECT_EQ(capture({touch("OK"), clickOn(IDCANCEL)}), u"");
    EXPECT_EQ(fromPenDown(),
              join({{"event PenDown", "method HotSpotTouched 0", "method InkPointCount",
                     "method DisplayClearArea 0 0 0 240 64", "method DisplayBitmap 0 2 4 20 234 20 H", "method ClearInk"},
                    kPadImages,
                    {"method HotSpotTouched 1", "method HotSpotReset 1", "method PadRefresh 1",
                     "method DisplayClearArea 0 0 0 240 64"}}));
    EXPECT_EQ(driveC.log(), numberedLog(join({kOpening, kFirstSetUp, onPenDown({}), kCancel, returned(2)})));
}

TEST_F(OleCapture, ResetKeyAndClearButtonSetThePadUpAgain) {
    EXPECT_EQ(capture({touch("RESET"), clickOn(IDC_CLEAR), touch("ink"), clickOn(IDOK)}), u"UNSIGNED");
    const Lines calls = fromPenDown();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "method DisplayBitmap 0 2 15 2 48 15 H"), 3)
        << "the pressed RESET key, then the key in the two set-ups";
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("put PadKind", 0) == 0; }),
              0)
        << "no new connection";
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "event PenDown"), 2);
    const Lines clear = join({{"Entering:\tOnClear()"}, kSetUpAgain, {"Exiting:\tOnClear()"}});
    EXPECT_EQ(driveC.log(), numberedLog(join({kOpening, kFirstSetUp, onPenDown(kSetUpAgain), clear, onPenDown({}),
                                              kOk, returned(1)})));
}

TEST_F(OleCapture, AWindowlessControlIsReachedThroughDispatchAndItsEvents) {
    record.windowless = true;
    control.script().inkPoints = 120;
    EXPECT_EQ(capture({touch("OK")}), u"SIG1:fake");
    EXPECT_FALSE(record.hadClientSite);
    EXPECT_EQ(record.window, nullptr);
    EXPECT_EQ(record.savedState.size(), 129u) << "its saved state all the same";
    EXPECT_EQ(driveC.log(), numberedLog(join({kOpening, kFirstSetUp, onPenDown(kOk), returned(1)})));
}

}  // namespace
