// Pad scripts: what each command becomes, how the control reads a pen
// record back, where a bad script is reported, and the bundled examples.
#include <sigplus/pad_script.h>
#include <winplatform/headless_input.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using sigplus::PadScriptError;
using sigplus::PenInput;
using sigplus::PenPoint;
using winplatform::InputEvent;
using Kind = InputEvent::Kind;

PenInput penOf(const InputEvent& event) {
    EXPECT_EQ(event.kind, Kind::ControlInput);
    EXPECT_EQ(event.controlId, sigplus::kPadControlId);
    const auto input = sigplus::parsePenInput(event.payload);
    EXPECT_TRUE(input.has_value()) << event.payload;
    return input.value_or(PenInput{});
}

TEST(PadScript, StrokeBecomesOnePenRecordWithDefaultTiming) {
    const auto events = sigplus::parsePadScript("stroke 20,40 25,42 239,63\n");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].line, 1);
    EXPECT_EQ(events[0].payload, "pen 0:20,40 8:25,42 16:239,63");
    EXPECT_EQ(penOf(events[0]).points, (std::vector<PenPoint>{{20, 40, 0}, {25, 42, 8}, {239, 63, 16}}));
}

TEST(PadScript, IntervalsWaitsAndTouchesAdvanceTheClock) {
    const auto events = sigplus::parsePadScript(
        "stroke 0,0 1,1 every 10ms\n"  // 0, 10; lifts at 20
        "wait 2s\n"                    // 2020
        "touch 5,6\n"                  // 2020; lifts at 2028
        "touch OK\n"                   // 2028
        "touch reset\n"                // 2036
        "stroke 3,4\n");               // 2044
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].payload, "pen 0:0,0 10:1,1");
    EXPECT_EQ(events[1].payload, "pen 2020:5,6");
    EXPECT_EQ(events[2].payload, "pen 2028:201,14");
    EXPECT_EQ(events[3].payload, "pen 2036:39,14");
    EXPECT_EQ(events[4].payload, "pen 2044:3,4");
    EXPECT_EQ(events[4].line, 6);
    // Each record is due when its pen lifts.
    std::vector<std::uint32_t> due;
    for (const auto& event : events) due.push_back(event.timeMs);
    EXPECT_EQ(due, (std::vector<std::uint32_t>{20, 2028, 2036, 2044, 2052}));
}

TEST(PadScript, ButtonsAndKeysAreDueAtTheClocksTime) {
    const auto events = sigplus::parsePadScript("click OK\ntouch 1,1\nwait 1s\nkey Enter\nwait 500ms\nclose\n");
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].timeMs, 0u);
    EXPECT_EQ(events[2].timeMs, 1008u);
    EXPECT_EQ(events[3].timeMs, 1508u);
}

TEST(PadScript, ButtonsKeysAndCloseBox) {
    const auto events = sigplus::parsePadScript(
        "# buttons\n"
        "click OK\nclick cancel\nCLICK Clear\nclick 11006   # by ID\n"
        "\n"
        "key Enter\nkey escape\nkey Esc\n\tclose\r\n");
    ASSERT_EQ(events.size(), 8u);
    const UINT ids[] = {1, 2, 11006, 11006};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(events[i].kind, Kind::Click);
        EXPECT_EQ(events[i].controlId, ids[i]);
        EXPECT_EQ(events[i].line, static_cast<int>(i) + 2);
        EXPECT_TRUE(events[i].payload.empty());
    }
    EXPECT_EQ(events[4].kind, Kind::Key);
    EXPECT_EQ(events[4].key, VK_RETURN);
    EXPECT_EQ(events[5].key, VK_ESCAPE);
    EXPECT_EQ(events[6].key, VK_ESCAPE);
    EXPECT_EQ(events[7].kind, Kind::Close);
    EXPECT_EQ(events[7].line, 10);
}

TEST(PadScript, PenGoesToTheGivenControl) {
    const auto events = sigplus::parsePadScript("touch 1,2", 4242);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].controlId, 4242u);
}

TEST(PadScript, EmptyAndCommentOnlyScriptsHaveNoEvents) {
    EXPECT_TRUE(sigplus::parsePadScript("").empty());
    EXPECT_TRUE(sigplus::parsePadScript("# nothing\n   \n\t# more\n").empty());
}

TEST(PadScript, AByteOrderMarkIsNoPartOfTheFirstLine) {
    const auto events = sigplus::parsePadScript("\xEF\xBB\xBFtouch 1,2\n", 7);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].controlId, 7u);
}

TEST(PenRecord, RoundTripsAndRefusesMalformedRecords) {
    const PenInput input{{{0, 0, 0}, {239, 63, 5}, {7, 8, sigplus::kMaxScriptMs}}};
    EXPECT_EQ(sigplus::parsePenInput(sigplus::formatPenInput(input)), input);
    EXPECT_EQ(sigplus::parsePenInput("pen 007:1,2"), (PenInput{{{1, 2, 7}}}));
    for (const char* bad : {"", "pen", "pen ", "pen 1:2,3 ", "pen  1:2,3", "pen 1:240,3", "pen 1:2,64", "pen 1:2",
                            "pen 1:2,3x", "pen 5:1,1 4:1,1", "pen 86400001:1,1", "stroke 1:2,3", "pen -1:2,3",
                            "pen 99999999999999999999999:1,1"}) {
        EXPECT_FALSE(sigplus::parsePenInput(bad).has_value()) << bad;
    }
}

struct Bad {
    const char* script;
    int line;
    int column;
    const char* message;
};

TEST(PadScript, BadScriptsNameTheLineAndColumn) {
    const Bad cases[] = {
        {"stroke", 1, 7, "expected x,y after 'stroke'"},
        {"\n\nstroke  # none", 3, 7, "expected x,y after 'stroke'"},
        {"stroke abc", 1, 8, "expected x,y after 'stroke', found 'abc'"},
        {"stroke 1,2 x", 1, 12, "expected x,y or 'every', found 'x'"},
        {"stroke 240,5", 1, 8, "x 240 is outside the screen (0 to 239)"},
        {"stroke 5,64", 1, 10, "y 64 is outside the screen (0 to 63)"},
        {"stroke 5;6", 1, 9, "expected ',' between x and y in '5;6'"},
        {"stroke 5,", 1, 10, "expected y after ',' in '5,'"},
        {"stroke 5,6,7", 1, 11, "unexpected ',7' after the point"},
        {"stroke 12345678901,1", 1, 8, "number too large"},
        {"stroke every 8ms", 1, 8, "expected x,y before 'every'"},
        {"stroke 1,1 every", 1, 17, "expected an interval such as 8ms after 'every'"},
        {"stroke 1,1 every 0ms", 1, 18, "the interval between points must be at least 1ms"},
        {"stroke 1,1 every 8ms 2,2", 1, 22, "unexpected '2,2' after the interval"},
        {"wait", 1, 5, "expected a duration such as 500ms after 'wait'"},
        {"wait 500", 1, 9, "expected a unit right after 500 (ms or s)"},
        {"wait 5h", 1, 7, "unknown unit 'h' (expected ms or s)"},
        {"wait fast", 1, 6, "expected a duration such as 500ms, found 'fast'"},
        {"wait 601s", 1, 6, "duration 601s is longer than 600s"},
        {"touch", 1, 6, "expected x,y, OK or RESET after 'touch'"},
        {"touch here", 1, 7, "expected x,y, OK or RESET after 'touch', found 'here'"},
        {"touch OK now", 1, 10, "unexpected 'now' after the point"},
        {"click", 1, 6, "expected a button after 'click' (OK, Cancel, Clear or a control ID)"},
        {"click Apply", 1, 7, "unknown button 'Apply' (expected OK, Cancel, Clear or a control ID)"},
        {"click 70000", 1, 7, "control ID 70000 is out of range (1 to 65535)"},
        {"click 0", 1, 7, "control ID 0 is out of range (1 to 65535)"},
        {"key Tab", 1, 5, "unknown key 'Tab' (expected Enter or Escape)"},
        {"key", 1, 4, "expected a key after 'key' (Enter or Escape)"},
        {"close now", 1, 7, "unexpected 'now' after 'close'"},
        {"click OK\n  sign 1,2", 2, 3, "unknown command 'sign' (expected stroke, touch, wait, click, key or close)"},
    };
    for (const Bad& c : cases) {
        try {
            sigplus::parsePadScript(c.script);
            ADD_FAILURE() << "accepted: " << c.script;
        } catch (const PadScriptError& e) {
            EXPECT_EQ(e.line(), c.line) << c.script;
            EXPECT_EQ(e.column(), c.column) << c.script;
            EXPECT_EQ(e.message(), c.message) << c.script;
            EXPECT_EQ(std::string(e.what()), "line " + std::to_string(c.line) + ", column " + std::to_string(c.column) +
                                                 ": " + c.message);
        }
    }
}

TEST(PadScript, ControlBytesAreShownEscaped) {
    try {
        sigplus::parsePadScript(std::string("go\x01\xff", 4));
        FAIL() << "accepted";
    } catch (const PadScriptError& e) {
        EXPECT_EQ(e.message(), "unknown command 'go\\x01\\xFF' (expected stroke, touch, wait, click, key or close)");
    }
}

TEST(PadScript, ScriptsLongerThanADayAreRefused) {
    std::string script;
    for (int i = 0; i < 144; ++i) script += "wait 600s\n";  // exactly 24 hours
    EXPECT_EQ(sigplus::parsePadScript(script + "touch 1,1").size(), 1u);
    EXPECT_EQ(sigplus::parsePadScript(script + "close").at(0).timeMs, sigplus::kMaxScriptMs);
    for (const auto& [late, line] : {std::pair{"stroke 1,1 2,2", 145}, std::pair{"wait 1ms\nclick OK", 146}}) {
        try {
            sigplus::parsePadScript(script + late);
            FAIL() << "accepted " << late;
        } catch (const PadScriptError& e) {
            EXPECT_EQ(e.line(), line);
            EXPECT_EQ(e.message(), "the script runs longer than 24 hours");
        }
    }
}

TEST(PadScript, FileErrorsNameTheFile) {
    const auto path = std::filesystem::temp_directory_path() / "pad_script_test_bad.pad";
    std::ofstream(path) << "click OK\nkey Space\n";
    try {
        sigplus::readPadScriptFile(path);
        FAIL() << "accepted";
    } catch (const PadScriptError& e) {
        EXPECT_EQ(std::string(e.what()), path.string() + ": line 2, column 5: unknown key 'Space' (expected Enter or Escape)");
    }
    std::filesystem::remove(path);
    try {
        sigplus::loadPadScript(path);
        FAIL() << "opened a missing file";
    } catch (const PadScriptError& e) {
        EXPECT_EQ(e.line(), 0);
        EXPECT_EQ(std::string(e.what()), path.string() + ": cannot open the pad script: No such file or directory");
    }
    const auto folder = std::filesystem::temp_directory_path();
    try {
        sigplus::loadPadScript(folder);
        FAIL() << "took a folder for an empty script";
    } catch (const PadScriptError& e) {
        EXPECT_EQ(std::string(e.what()), folder.string() + ": is a folder, not a pad script");
    }
}

// Every pen record of an example lies in the ink area (rows 22 to 61)
// except the touches on the keys.
void expectSignature(const std::vector<InputEvent>& events, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        const PenInput pen = penOf(events[i]);
        EXPECT_GT(pen.points.size(), 1u) << "line " << events[i].line;
        for (const PenPoint& p : pen.points) {
            EXPECT_GE(p.y, 22) << "line " << events[i].line;
            EXPECT_LE(p.y, 61) << "line " << events[i].line;
        }
    }
}

TEST(PadScript, CaptureExampleSignsThenTouchesOk) {
    const auto events = sigplus::readPadScriptFile(ZERA_SOURCE_DIR "/examples/capture.pad");
    ASSERT_GE(events.size(), 4u);
    expectSignature(events, 0, events.size() - 1);
    EXPECT_EQ(penOf(events.back()).points, (std::vector<PenPoint>{{201, 14, penOf(events.back()).points[0].timeMs}}));
}

TEST(PadScript, ResetExampleSignsResetsSignsAndClicksOk) {
    const auto events = sigplus::readPadScriptFile(ZERA_SOURCE_DIR "/examples/capture-reset.pad");
    std::size_t reset = events.size();
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].kind == Kind::ControlInput && penOf(events[i]).points[0].x == sigplus::kResetKeyX &&
            penOf(events[i]).points[0].y == sigplus::kResetKeyY)
            reset = i;
    }
    ASSERT_GT(reset, 0u);
    ASSERT_LT(reset + 2, events.size());
    expectSignature(events, 0, reset);
    expectSignature(events, reset + 1, events.size() - 1);
    EXPECT_EQ(events.back().kind, Kind::Click);
    EXPECT_EQ(events.back().controlId, sigplus::kButtonOk);
}

TEST(PadScriptSource, ServesEventsInOrderThenRunsOut) {
    sigplus::PadScriptSource source(sigplus::parsePadScript("touch 1,1\nclick Clear\nclose\n"));
    EXPECT_EQ(source.remaining(), 3u);
    const auto first = source.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->kind, Kind::ControlInput);
    EXPECT_EQ(first->line, 1);
    const auto second = source.next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->controlId, sigplus::kButtonClear);
    const auto third = source.next();
    ASSERT_TRUE(third);
    EXPECT_EQ(third->kind, Kind::Close);
    EXPECT_EQ(source.remaining(), 0u);
    EXPECT_FALSE(source.next());
    EXPECT_FALSE(source.next());
}

TEST(PadScriptSource, InstalledSourceFeedsTheProcessInput) {
    auto source = sigplus::loadPadScript(ZERA_SOURCE_DIR "/examples/capture.pad");
    const std::size_t count = source->remaining();
    const auto previous = winplatform::setInputSource(source);
    std::size_t served = 0;
    while (winplatform::nextInputEvent()) ++served;
    winplatform::setInputSource(previous);
    EXPECT_EQ(served, count);
}

}  // namespace
