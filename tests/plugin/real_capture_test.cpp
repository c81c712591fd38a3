// Captures with the replacement pad control, input from pad scripts: what
// the control was told, in order (its journal), what the script got back,
// and what the pad's screen showed.
#include "GifPixels.h"
#include "PadSetUpCalls.h"
#include "StartedPlugin.h"
#include "TemporaryDriveC.h"

#include <platform/utf.h>
#include <sigplus/control.h>
#include <sigplus/journal.h>
#include <sigplus/pad_script.h>
#include <winplatform/com_registry.h>
#include <winplatform/diagnostics.h>
#include "bitmap_reader.h"
#include <winplatform/headless_input.h>
#include <winplatform/resources.h>

#include <gtest/gtest.h>
#include <png.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A picture of the pad's screen: true for a dark pixel.
using Screen = std::array<std::array<bool, 240>, 64>;

Lines join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// What the journal says of the pad's set-up, after connecting ("H" for a
// bitmap handle).
const Lines kSetUp = join({kPadSetUpCalls, {
    "method DisplayBitmap 0 2 0 0 240 64 H",
    "method DisplayBitmap 0 2 177 2 48 15 H",
    "method DisplayBitmap 0 2 15 2 48 15 H",
    "method HotSpotDefine 0 1 177 7 48 15",
    "method HotSpotDefine 1 1 15 7 48 15",
    "put DisplayMode 2",
    "method ClearInk",
    "put InkEnabled 1",
    "method PadRefresh 1",
}});
const Lines kPenDownOnInk = {"event PenDown", "method HotSpotTouched 0", "method HotSpotTouched 1",
                             "method HotSpotReset 1", "method PadRefresh 1"};
const Lines kBindAndRead = {"method BindBegin", "method BindAddText Order 1042", "method BindEnd",
                            "put PackingMode 0", "put CipherMode 2", "get SignatureText"};

// Four strokes of ink in the ink area.
constexpr const char* kSigning =
    "stroke 40,56 45,40 50,26 55,40 60,56\n"
    "stroke 45,44 55,44\n"
    "stroke 80,30 80,56 95,50 80,44\n"
    "stroke 110,56 120,30 130,56\n";

class RealCapture : public StartedPlugin {
protected:
    void SetUp() override {
        const std::string pid = std::to_string(::getpid());
        screens = fs::temp_directory_path() / ("zera-real-capture-screens-" + pid);
        fs::remove_all(screens);
        fs::create_directories(screens);
        setenv(sigplus::kScreensVariable, screens.c_str(), 1);
        ASSERT_EQ(winplatform::registerInprocServer(sigplus::CLSID_SigPlus, SIGPLUS_LIBRARY), S_OK);
        StartedPlugin::SetUp();
        sigplus::clearJournal();
        sigplus::setJournalEnabled(true);
    }
    void TearDown() override {
        sigplus::setJournalEnabled(false);
        winplatform::setInputSource(nullptr);
        StartedPlugin::TearDown();
        winplatform::unregisterInprocServer(sigplus::CLSID_SigPlus);
        unsetenv(sigplus::kScreensVariable);
        fs::remove_all(screens);
        EXPECT_EQ(sigplus::liveControlCount(), 0u);
        EXPECT_EQ(winplatform::comInitCount(), 0u);
        EXPECT_EQ(winplatform::liveGdiObjectCount(), 0u) << "every pad image is released with its dialog";
    }

    std::u16string capture(const std::string& padScript, const std::u16string& bound = u"Order 1042") {
        winplatform::setInputSource(std::make_shared<sigplus::PadScriptSource>(sigplus::parsePadScript(padScript)));
        return plugin.text(u"ZERA_CaptureSignature", {T(bound)});
    }

    // The journal of the dialog's control (the one that was connected), with
    // bitmap handles written "H".
    Lines hostedCalls() const {
        const std::vector<sigplus::JournalEntry> entries = sigplus::journal();
        ULONG hosted = 0;
        for (const auto& entry : entries) {
            if (entry.member == "PadKind") hosted = entry.object;
        }
        Lines lines;
        for (sigplus::JournalEntry entry : entries) {
            if (entry.object != hosted) continue;
            if (entry.member == "DisplayBitmap" && !entry.arguments.empty()) entry.arguments.back() = "H";
            lines.push_back(sigplus::describe(entry));
        }
        return lines;
    }
    // What follows the connection, which the journal shows first.
    Lines afterConnecting() const {
        Lines lines = hostedCalls();
        EXPECT_GE(lines.size(), 2u);
        if (lines.size() < 2) return {};
        EXPECT_EQ(lines[0], "put PadKind 6");
        EXPECT_EQ(lines[1], "put PadPort 0");
        return Lines(lines.begin() + 2, lines.end());
    }

    TemporaryDriveC driveC{"real-capture"};
    fs::path screens;
};

TEST_F(RealCapture, SigningAndTouchingOkGivesASignatureOfTheInk) {
    const std::u16string signature = capture(std::string(kSigning) + "touch OK\n");
    ASSERT_EQ(signature.rfind(u"SIG1:", 0), 0u) << platform::utf16ToUtf8(signature);

    const Lines onOkKey = {"event PenDown",
                           "method HotSpotTouched 0",
                           "method InkPointCount",
                           "method DisplayBitmap 0 2 177 2 48 15 H",
                           "method DisplayBitmap 0 2 0 0 240 64 H",
                           "method DisplayBitmap 0 2 177 2 48 15 H",
                           "method HotSpotReset 1",
                           "method InkPointCount"};
    EXPECT_EQ(afterConnecting(),
              join({kSetUp, kPenDownOnInk, kPenDownOnInk, kPenDownOnInk, kPenDownOnInk, onOkKey, kBindAndRead,
                    {"put DisplayMode 1", "method HotSpotTouched 1", "method HotSpotReset 1", "method PadRefresh 1"}}));

    // The same bound data gives the picture of the strokes; other data
    // does not open it.
    const fmw::CallResult rendered = plugin.run(u"ZERA_RenderSigFromString", {T(signature), T(u"Order 1042")});
    ASSERT_EQ(rendered.result.type(), fmw::Value::Type::Container);
    const GifSize gif = decode(rendered.result.containerValue().streams.at(0).bytes);
    EXPECT_EQ(gif.width, 215);
    EXPECT_EQ(gif.height, 70);
    EXPECT_GT(gif.darkPixels, 300);
    EXPECT_EQ(plugin.text(u"ZERA_RenderSigFromString", {T(signature), T(u"Order 1043")}), u"UNSIGNED");
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"0");
}

TEST_F(RealCapture, AnEmptyBoundTextIsBoundAndAnEarlierErrorStays) {
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"/no/such/banner.bmp")}), u"!!ERROR!!");
    const std::u16string signature = capture(std::string(kSigning) + "touch OK\n", u"");
    ASSERT_EQ(signature.rfind(u"SIG1:", 0), 0u);
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"-13000") << "a capture does not reset it";
    const Lines calls = hostedCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "method BindAddText "), 1);
    EXPECT_EQ(plugin.run(u"ZERA_RenderSigFromString", {T(signature), T(u"")}).result.type(),
              fmw::Value::Type::Container);
    EXPECT_EQ(plugin.text(u"ZERA_RenderSigFromString", {T(signature), T(u" ")}), u"UNSIGNED");
}

TEST_F(RealCapture, ALogThatCannotBeWrittenLosesEntriesButNotTheCapture) {
    // A folder in the log file's place cannot be opened for appending, even
    // by an administrator.
    const fs::path logFile = driveC.logFile();
    fs::create_directory(logFile);
    EXPECT_EQ(capture(std::string(kSigning) + "touch OK\n").rfind(u"SIG1:", 0), 0u);
    fs::remove(logFile);
    EXPECT_EQ(capture("click Cancel\n"), u"");
    const std::string log = driveC.log();
    EXPECT_EQ(log.rfind("\r\n\r\n####################################################\r\n\r\n"
                        "0)\tCreating the dialog and calling \"DoModal()\"\r\n",
                        0),
              0u)
        << log;
    EXPECT_NE(log.find("\"DoModal()\" returned a value of 2\r\n"), std::string::npos);
}

TEST_F(RealCapture, OkKeyWithoutInkPromptsAndTheDialogStaysOpen) {
    EXPECT_EQ(capture("touch OK\nclick Cancel\n"), u"");
    const Lines prompt = {"event PenDown",
                          "method HotSpotTouched 0",
                          "method InkPointCount",
                          "method DisplayClearArea 0 0 0 240 64",
                          "method DisplayBitmap 0 2 4 20 234 20 H",
                          "method ClearInk",
                          "method DisplayBitmap 0 2 0 0 240 64 H",
                          "method DisplayBitmap 0 2 177 2 48 15 H",
                          "method DisplayBitmap 0 2 15 2 48 15 H",
                          "method HotSpotTouched 1",
                          "method HotSpotReset 1",
                          "method PadRefresh 1"};
    EXPECT_EQ(afterConnecting(), join({kSetUp, prompt, {"method DisplayClearArea 0 0 0 240 64"}}));
}

TEST_F(RealCapture, ResetKeyAndClearButtonDiscardTheInkAndSetUpWithoutConnecting) {
    const Lines resetKey = {"event PenDown", "method HotSpotTouched 0", "method HotSpotTouched 1",
                            "method DisplayBitmap 0 2 15 2 48 15 H"};
    const Lines unsignedOk = {"method HotSpotReset 1", "method InkPointCount", "put DisplayMode 1"};

    EXPECT_EQ(capture(std::string(kSigning) + "touch RESET\nclick OK\n"), u"UNSIGNED");
    EXPECT_EQ(afterConnecting(), join({kSetUp, kPenDownOnInk, kPenDownOnInk, kPenDownOnInk, kPenDownOnInk, resetKey,
                                       kSetUp, {"method HotSpotReset 1", "method PadRefresh 1"}, unsignedOk}));

    sigplus::clearJournal();
    EXPECT_EQ(capture(std::string(kSigning) + "click Clear\nkey Enter\n"), u"UNSIGNED");
    EXPECT_EQ(afterConnecting(),
              join({kSetUp, kPenDownOnInk, kPenDownOnInk, kPenDownOnInk, kPenDownOnInk, kSetUp, unsignedOk}));

    // Signing again after RESET counts.
    EXPECT_EQ(capture(std::string(kSigning) + "touch RESET\n" + kSigning + "click OK\n").rfind(u"SIG1:", 0), 0u);
}

TEST_F(RealCapture, ThePenDownEventAndTheClearButtonAreLoggedAroundTheSetUpTheyRun) {
    capture("touch RESET\nclick Clear\nclick Cancel\n");
    // The log's entries without their numbers.
    Lines entries;
    const std::string log = driveC.log();
    for (std::size_t start = 0, end = 0; start < log.size(); start = end + 2) {
        end = std::min(log.find("\r\n", start), log.size());
        const std::string line = log.substr(start, end - start);
        const std::size_t text = line.find(")\t");
        if (text != std::string::npos) entries.push_back(line.substr(text + 2));
    }
    const Lines setUp = {"Entering:\tOnInitDialog()", "Entering:\tDoDataExchange()", "Exiting:\tDoDataExchange()",
                         "Exiting:\tOnInitDialog()"};
    const Lines expected = join({{"Entering:\tOnPenDownSigplusctrl()"}, setUp, {"Exiting:\tOnPenDownSigplusctrl()"},
                                 {"Entering:\tOnClear()"}, setUp, {"Exiting:\tOnClear()", "Entering: OnCancel()"}});
    EXPECT_NE(std::search(entries.begin(), entries.end(), expected.begin(), expected.end()), entries.end()) << log;
}

TEST_F(RealCapture, KeysAnswerBelowTheirImagesAndInkOnlyInTheInkArea) {
    // On the OK image's top rows, above its key: nothing happens; ink in
    // the keys' row is not kept.
    EXPECT_EQ(capture("touch 201,3\nstroke 100,5 140,15\nclick OK\n"), u"UNSIGNED");
    const Lines calls = hostedCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "method DisplayBitmap 0 2 4 20 234 20 H"), 0) << "no prompt";
    // On the key's last row, below its image: the key.
    EXPECT_EQ(capture(std::string(kSigning) + "touch 224,21\n").rfind(u"SIG1:", 0), 0u);
}

TEST_F(RealCapture, CancelEscapeAndTheCloseBoxClearThePadAndKeepTheLastError) {
    EXPECT_EQ(plugin.text(u"ZERA_SetBannerPath", {T(u"")}), u"!!ERROR!!");
    for (const char* ending : {"click Cancel\n", "key Escape\n", "close\n", ""}) {
        SCOPED_TRACE(ending);
        sigplus::clearJournal();
        EXPECT_EQ(capture(std::string(kSigning) + ending), u"");
        EXPECT_EQ(hostedCalls().back(), "method DisplayClearArea 0 0 0 240 64");
    }
    EXPECT_EQ(plugin.text(u"ZERA_GetLastError", {T(u"code")}), u"-13000");
}

TEST_F(RealCapture, TabletSettingsTakeEffectAtTheNextDialog) {
    capture("click Cancel\n");
    EXPECT_EQ(plugin.text(u"ZERA_SetTabletMode", {N(11)}), u"0");
    EXPECT_EQ(plugin.text(u"ZERA_SetTabletComPort", {N(4)}), u"0");
    sigplus::clearJournal();
    capture("click Cancel\n");
    const Lines calls = hostedCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "put PadKind 11");
    EXPECT_EQ(calls[1], "put PadPort 4");
}

// ---- the pad's screen -----------------------------------------------------

Screen readScreen(const fs::path& path) {
    Screen screen{};
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_NE(png_image_begin_read_from_file(&image, path.c_str()), 0) << path;
    EXPECT_EQ(image.width, 240u);
    EXPECT_EQ(image.height, 64u);
    if (image.width != 240 || image.height != 64) {
        png_image_free(&image);
        return screen;
    }
    image.format = PNG_FORMAT_GRAY;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    EXPECT_NE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr), 0);
    for (std::size_t y = 0; y < 64; ++y) {
        for (std::size_t x = 0; x < 240; ++x) screen[y][x] = pixels[y * 240 + x] < 128;
    }
    return screen;
}

class PadScreens : public RealCapture {
protected:
    // A pad image as the module's resources hold it.
    sigplus::BitmapPixels bitmap(int id) const {
        const auto module = static_cast<HINSTANCE>(plugin.handle());
        HBITMAP handle = LoadBitmapW(module, MAKEINTRESOURCEW(static_cast<WORD>(id)));
        sigplus::BitmapPixels pixels;
        EXPECT_TRUE(sigplus::readBitmapPixels(handle, &pixels)) << id;
        DeleteObject(handle);
        return pixels;
    }
    // Draws an image's top-left width x height pixels at x, y.
    void paint(Screen& screen, int id, int x, int y, int width, int height) const {
        const sigplus::BitmapPixels pixels = bitmap(id);
        for (int row = 0; row < height && row < pixels.height; ++row) {
            for (int column = 0; column < width && column < pixels.width; ++column) {
                screen[static_cast<std::size_t>(y + row)][static_cast<std::size_t>(x + column)] =
                    pixels.isDark(column, row);
            }
        }
    }
    Screen signingScreen() const {
        Screen screen{};
        paint(screen, 11003, 0, 0, 240, 64);
        paint(screen, 11004, 177, 2, 48, 15);
        paint(screen, 11005, 15, 2, 48, 15);
        return screen;
    }
    std::vector<Screen> pictures() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(screens)) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        std::vector<Screen> all;
        for (const fs::path& file : files) all.push_back(readScreen(file));
        return all;
    }
};

bool anyDark(const Screen& screen, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (screen[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) return true;
        }
    }
    return false;
}

TEST_F(PadScreens, SetUpPromptAndResetShowWhatThePadShouldShow) {
    capture(std::string("touch OK\n") + kSigning + "touch RESET\nclick Cancel\n");
    const std::vector<Screen> shown = pictures();
    // Set-up, prompt, set-up again, the signing as each pen-down refreshed
    // the screen, RESET pressed, set-up again, and the cleared screen.
    ASSERT_EQ(shown.size(), 9u);
    // The signing screen: frame, X mark, signing line, both keys.
    const Screen signing = signingScreen();
    EXPECT_EQ(shown[0], signing);
    EXPECT_TRUE(signing[0][0] && signing[63][239] && signing[0][120] && signing[32][0]) << "the frame";
    EXPECT_TRUE(signing[39][5] && signing[49][15] && signing[59][25] && signing[39][25]) << "the X mark";
    EXPECT_TRUE(signing[59][30] && signing[59][130] && signing[59][230] && !signing[58][130]) << "the signing line";
    EXPECT_FALSE(anyDark(signing, 66, 22, 170, 55)) << "nothing in the middle";
    EXPECT_TRUE(anyDark(signing, 178, 4, 223, 14)) << "letters on the OK key";

    // The prompt alone, 20 of its 21 rows.
    Screen prompt{};
    paint(prompt, 11030, 4, 20, 234, 20);
    EXPECT_EQ(shown[1], prompt);
    EXPECT_TRUE(anyDark(prompt, 4, 20, 237, 39));
    EXPECT_FALSE(anyDark(prompt, 0, 0, 239, 19));

    EXPECT_EQ(shown[2], signing) << "the signing screen again, ink cleared";

    // The ink shows on the screen as it is written, only in the ink area.
    const auto darkCount = [](const Screen& screen) {
        int n = 0;
        for (const auto& row : screen) n += static_cast<int>(std::count(row.begin(), row.end(), true));
        return n;
    };
    for (std::size_t i = 3; i < 6; ++i) {
        EXPECT_GT(darkCount(shown[i]), darkCount(shown[i - 1])) << i;
        EXPECT_EQ(std::vector(shown[i].begin(), shown[i].begin() + 22), std::vector(signing.begin(), signing.begin() + 22));
    }

    // RESET pressed over the ink, then the set-up again.
    const Screen& pressed = shown[6];
    Screen expectedKey{};
    paint(expectedKey, 11038, 15, 2, 48, 15);
    for (int y = 2; y < 17; ++y) {
        for (int x = 15; x < 63; ++x) {
            const auto row = static_cast<std::size_t>(y);
            const auto column = static_cast<std::size_t>(x);
            EXPECT_EQ(pressed[row][column], expectedKey[row][column]) << x << "," << y;
        }
    }
    EXPECT_TRUE(pressed[3][30] && pressed[9][20] && !pressed[2][30]) << "the inverted key is dark round its letters";
    EXPECT_TRUE(anyDark(pressed, 41, 27, 59, 55)) << "the ink shows on the screen";
    EXPECT_EQ(shown[7], signing);
    EXPECT_EQ(shown[8], Screen{}) << "cancel clears the screen";
}

}  // namespace
