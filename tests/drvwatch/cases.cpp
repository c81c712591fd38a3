#include "cases.h"

#include <algorithm>
#include <thread>

namespace drvwatch_test {
namespace {

constexpr const char* kInstaller = "DPInstx86.exe";

std::vector<std::string> with(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A folder below the base whose path, as the program names it, has exactly
// the given length.
std::string folderOfWindowsLength(const std::string& base, std::size_t length) {
    std::string folder = base;
    const auto windowsLength = [&](const std::string& f) { return platform().windowsPath(f).size(); };
    while (windowsLength(folder) < length) {
        const std::size_t missing = length - windowsLength(folder) - 1;  // one for the separator
        const std::size_t part = std::min<std::size_t>(missing, 100);
        if (part == 0) throw std::logic_error("cannot reach that length");
        folder += "/" + std::string(part, 'd');
    }
    makeFolders(folder);
    return folder;
}

}  // namespace

void DrvwatchCase::SetUp() {
    if (const auto reason = platform().unavailable()) GTEST_SKIP() << *reason;
    dir_ = std::make_unique<TempDir>();
}

void DrvwatchCase::TearDown() {
    // Leave no helper running: every fake installer waiting for a stop file
    // is given it.
    for (const std::string& stop : stopFiles_) writeFile(stop, "");
    // Give them a moment to see it before their folder goes.
    if (!stopFiles_.empty()) std::this_thread::sleep_for(200ms);
}

void DrvwatchCase::putInstaller(const std::string& folder, const std::string& name,
                                const std::vector<std::string>& settings) {
    copyFile(platform().fakeInstaller(), folder + "/" + name);
    std::string text;
    for (const std::string& line : settings) text += line + "\n";
    const std::string base = name.substr(0, name.rfind('.'));
    writeFile(folder + "/" + base + ".cfg", text);
    for (const std::string& line : settings) {
        if (line.rfind("until ", 0) == 0) stopFiles_.push_back(folder + "/" + line.substr(6));
    }
}

std::unique_ptr<Process> DrvwatchCase::startDrvwatch(const std::string& folder,
                                                     const std::vector<std::string>& arguments) {
    return std::make_unique<Process>(with(platform().command(platform().drvwatch()), arguments), folder,
                                     platform().environment());
}

std::unique_ptr<Process> DrvwatchCase::startProgram(const std::string& path) {
    const std::string folder = path.substr(0, path.rfind('/'));
    return std::make_unique<Process>(platform().command(path), folder, platform().environment());
}

std::string DrvwatchCase::launchText(const std::string& folder) const {
    return platform().screen("32-bit OS detected\n\"" + platform().windowsPath(folder) +
                             "\\DPInstx86.exe\"\nInstalling driver.");
}

std::string DrvwatchCase::completionText() const {
    return platform().screen("\n\nTarvek QDL Driver Installation process completed.\n");
}

std::string DrvwatchCase::missingText() const {
    return platform().screen(
        "32-bit OS detected\nCould not locate DPInstx86.exe.\nPress enter to terminate the installer.");
}

int DrvwatchCase::dotsSoFar(const std::string& output, const std::string& folder) const {
    const std::string launch = launchText(folder);
    if (output.compare(0, launch.size(), launch) != 0 || output.size() < launch.size()) return -1;
    const std::string rest = output.substr(launch.size());
    if (rest.find_first_not_of('.') != std::string::npos) return -1;
    return static_cast<int>(rest.size());
}

int DrvwatchCase::dotsOfNormalRun(const std::string& output, const std::string& folder) const {
    const std::string end = completionText();
    if (output.size() < end.size() || output.compare(output.size() - end.size(), end.size(), end) != 0) return -1;
    return dotsSoFar(output.substr(0, output.size() - end.size()), folder);
}

void DrvwatchCase::expectWaitsForEnter(Process& program, const std::string& expected) {
    ASSERT_TRUE(program.readUntil([&](const std::string& out) { return out.size() >= expected.size(); }))
        << "printed only: " << program.output();
    EXPECT_EQ(program.output(), expected);
    // A program that does not wait would end on its own now; this one must
    // still be there, holding its prompt, however long we look away.
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(program.running()) << "ended without waiting for Enter";
    program.type("\n");
    const std::optional<int> status = program.wait();
    ASSERT_TRUE(status.has_value()) << "did not end after Enter";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(program.output(), expected);
}

int DrvwatchCase::expectNormalRun(Process& program, const std::string& folder) {
    const std::optional<int> status = program.wait();
    const auto lifetime = Clock::now() - program.startedAt();
    EXPECT_TRUE(status.has_value()) << "still running; printed: " << program.output();
    EXPECT_EQ(status.value_or(-1), 0);
    const int dots = dotsOfNormalRun(program.output(), folder);
    EXPECT_GE(dots, 1) << "output: " << program.output();
    // Every dot follows a half-second sleep and the end a sleep of one and a
    // half seconds; a program cannot have got through them any faster (a
    // few milliseconds are allowed for the clocks' rounding).
    EXPECT_GE(lifetime, std::max(dots, 1) * 490ms + 1450ms);
    return dots;
}

TEST_F(DrvwatchCase, PrintsADotForEveryPollWhileTheInstallerRuns) {
    putInstaller(dir_->path(), kInstaller, {"until stop.flag", "started started.flag", "ended ended.flag"});
    auto program = startDrvwatch(dir_->path());
    const std::string folder = dir_->path();
    ASSERT_TRUE(program->readUntil([&](const std::string& out) { return dotsSoFar(out, folder) >= 1; }))
        << program->output();
    // The first poll comes half a second after the start.
    EXPECT_GE(Clock::now() - program->startedAt(), 490ms);
    ASSERT_TRUE(exists(*dir_ / "started.flag")) << "the installer was not started";
    ASSERT_TRUE(program->readUntil([&](const std::string& out) { return dotsSoFar(out, folder) >= 3; }))
        << "stopped waiting for a running installer: " << program->output();
    EXPECT_FALSE(exists(*dir_ / "ended.flag"));

    writeFile(*dir_ / "stop.flag", "");
    EXPECT_GE(expectNormalRun(*program, folder), 3);
    EXPECT_TRUE(exists(*dir_ / "ended.flag"));
}

TEST_F(DrvwatchCase, PrintsOneDotAtLeastWhenTheInstallerEndsAtOnce) {
    putInstaller(dir_->path(), kInstaller, {"run_ms 0", "ended ended.flag"});
    auto program = startDrvwatch(dir_->path());
    EXPECT_GE(expectNormalRun(*program, dir_->path()), 1);
    EXPECT_TRUE(exists(*dir_ / "ended.flag"));
}

TEST_F(DrvwatchCase, IgnoresItsArguments) {
    putInstaller(dir_->path(), kInstaller, {"run_ms 0"});
    auto program = startDrvwatch(dir_->path(), {"/quiet", "%s%n"});
    EXPECT_GE(expectNormalRun(*program, dir_->path()), 1);
}

TEST_F(DrvwatchCase, WaitsForEnterWhenTheInstallerIsMissing) {
    auto program = startDrvwatch(dir_->path());
    expectWaitsForEnter(*program, missingText());
}

TEST_F(DrvwatchCase, EndsWhenTheInputEndsWhileWaitingForEnter) {
    auto program = startDrvwatch(dir_->path());
    const std::string expected = missingText();
    ASSERT_TRUE(program->readUntil([&](const std::string& out) { return out.size() >= expected.size(); }));
    program->closeInput();
    const std::optional<int> status = program->wait();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(program->output(), expected);
}

TEST_F(DrvwatchCase, DoesNotTakeAnInstallerOfAnotherNameForTheMissingOne) {
    putInstaller(dir_->path(), "DPInstx64.exe", {"run_ms 0", "started started.flag"});
    putInstaller(dir_->path(), "DPInst.exe", {"run_ms 0", "started started.flag"});
    auto program = startDrvwatch(dir_->path());
    expectWaitsForEnter(*program, missingText());
    EXPECT_FALSE(exists(*dir_ / "started.flag")) << "something was started";
}

TEST_F(DrvwatchCase, RefusesWindowsOlderThan2000AndWaitsForEnter) {
    putInstaller(dir_->path(), kInstaller, {"run_ms 0", "started started.flag"});
    const auto [program, changes] = platform().drvwatchOnWindows("4.0");
    Environment environment = platform().environment();
    for (const auto& [name, value] : changes) environment[name] = value;
    Process run(platform().command(program), dir_->path(), environment);
    expectWaitsForEnter(run, platform().screen(
                                 "This installer requires Windows 2000 or later.\nPress enter to terminate the "
                                 "installer."));
    EXPECT_FALSE(exists(*dir_ / "started.flag")) << "the installer was started";
}

TEST_F(DrvwatchCase, RunsOnWindows2000) {
    putInstaller(dir_->path(), kInstaller, {"run_ms 0", "started started.flag"});
    const auto [program, changes] = platform().drvwatchOnWindows("5.0");
    Environment environment = platform().environment();
    for (const auto& [name, value] : changes) environment[name] = value;
    Process run(platform().command(program), dir_->path(), environment);
    EXPECT_GE(expectNormalRun(run, dir_->path()), 1);
    EXPECT_TRUE(exists(*dir_ / "started.flag"));
}

TEST_F(DrvwatchCase, DoesNotCountANameInAnotherLetterCase) {
    const std::string elsewhere = *dir_ / "elsewhere";
    makeFolders(elsewhere);
    putInstaller(elsewhere, "dpinstx86.exe", {"until stop86.flag", "started started86.flag", "ended ended86.flag"});
    putInstaller(elsewhere, "DPINSTX64.EXE", {"until stop64.flag", "started started64.flag", "ended ended64.flag"});
    auto lower = startProgram(elsewhere + "/dpinstx86.exe");
    auto upper = startProgram(elsewhere + "/DPINSTX64.EXE");
    ASSERT_TRUE(waitForFile(elsewhere + "/started86.flag"));
    ASSERT_TRUE(waitForFile(elsewhere + "/started64.flag"));
    putInstaller(dir_->path(), kInstaller, {"run_ms 0"});

    auto program = startDrvwatch(dir_->path());
    expectNormalRun(*program, dir_->path());
    // Both ran through the whole wait, yet it ended without them.
    EXPECT_FALSE(exists(elsewhere + "/ended86.flag"));
    EXPECT_FALSE(exists(elsewhere + "/ended64.flag"));
    writeFile(elsewhere + "/stop86.flag", "");
    writeFile(elsewhere + "/stop64.flag", "");
    EXPECT_TRUE(lower->wait().has_value());
    EXPECT_TRUE(upper->wait().has_value());
}

TEST_F(DrvwatchCase, WaitsForASecondInstallerThatRanAlready) {
    const std::string elsewhere = *dir_ / "elsewhere";
    makeFolders(elsewhere);
    putInstaller(elsewhere, "DPInstx64.exe", {"until stop.flag", "started started.flag"});
    auto other = startProgram(elsewhere + "/DPInstx64.exe");
    ASSERT_TRUE(waitForFile(elsewhere + "/started.flag"));
    putInstaller(dir_->path(), kInstaller, {"run_ms 0", "ended ended.flag"});

    auto program = startDrvwatch(dir_->path());
    const std::string folder = dir_->path();
    ASSERT_TRUE(program->readUntil([&](const std::string& out) { return dotsSoFar(out, folder) >= 3; }))
        << "did not wait for DPInstx64.exe: " << program->output();
    EXPECT_TRUE(waitForFile(*dir_ / "ended.flag"));
    writeFile(elsewhere + "/stop.flag", "");
    EXPECT_GE(expectNormalRun(*program, folder), 3);
    EXPECT_TRUE(other->wait().has_value());
}

TEST_F(DrvwatchCase, DoesNotWaitForAnInstallerStartedAfterTheSnapshot) {
    // The installer starts a second one, DPInstx64.exe, once it is told the
    // snapshot has been taken (the first dot is printed after it).
    putInstaller(dir_->path(), kInstaller, {"until stop.flag", "child DPInstx64.exe", "child_after go.flag"});
    putInstaller(dir_->path(), "DPInstx64.exe",
                 {"until stop64.flag", "started started64.flag", "ended ended64.flag"});
    auto program = startDrvwatch(dir_->path());
    const std::string folder = dir_->path();
    ASSERT_TRUE(program->readUntil([&](const std::string& out) { return dotsSoFar(out, folder) >= 1; }))
        << program->output();
    writeFile(*dir_ / "go.flag", "");
    ASSERT_TRUE(waitForFile(*dir_ / "started64.flag")) << "the second installer did not start";
    writeFile(*dir_ / "stop.flag", "");

    expectNormalRun(*program, folder);
    EXPECT_FALSE(exists(*dir_ / "ended64.flag")) << "the second installer ended before the wait did";
}

TEST_F(DrvwatchCase, EndsTheWaitAfterTheFirstDotWhenTheInstallerCannotStart) {
    platform().writeUnstartable(*dir_ / kInstaller);
    auto program = startDrvwatch(dir_->path());
    EXPECT_EQ(expectNormalRun(*program, dir_->path()), 1);
    EXPECT_EQ(program->output(), launchText(dir_->path()) + "." + completionText());
}

TEST_F(DrvwatchCase, PrintsAPathWithPercentSignsLiterally) {
    const std::string folder = *dir_ / "100% %s%n%x%%d";
    makeFolders(folder);
    putInstaller(folder, kInstaller, {"run_ms 0", "started started.flag"});
    auto program = startDrvwatch(folder);
    EXPECT_GE(expectNormalRun(*program, folder), 1);
    EXPECT_TRUE(exists(folder + "/started.flag"));
}

// The quoted command, the longest text, must fit in 256 bytes with its
// terminator: a quote, the folder, "\DPInstx86.exe" and a quote.
TEST_F(DrvwatchCase, StartsTheInstallerFromTheLongestFolderThatFits) {
    const std::string folder = folderOfWindowsLength(dir_->path(), 239);
    putInstaller(folder, kInstaller, {"run_ms 0", "started started.flag"});
    auto program = startDrvwatch(folder);
    EXPECT_GE(expectNormalRun(*program, folder), 1);
    EXPECT_TRUE(exists(folder + "/started.flag"));
}

TEST_F(DrvwatchCase, TreatsAFolderTooLongForTheCommandAsMissingTheInstaller) {
    const std::string folder = folderOfWindowsLength(dir_->path(), 240);
    putInstaller(folder, kInstaller, {"run_ms 0", "started started.flag"});
    auto program = startDrvwatch(folder);
    expectWaitsForEnter(*program, missingText());
    EXPECT_FALSE(exists(folder + "/started.flag")) << "the installer was started";
}

TEST_F(DrvwatchCase, TreatsAFolderTooLongForTheBufferAsMissingTheInstaller) {
    for (const std::size_t length : {255u, 256u, 300u}) {
        const std::string folder = folderOfWindowsLength(dir_->path(), length);
        putInstaller(folder, kInstaller, {"run_ms 0", "started started.flag"});
        auto program = startDrvwatch(folder);
        expectWaitsForEnter(*program, missingText());
        EXPECT_FALSE(exists(folder + "/started.flag")) << "the installer was started from " << length;
    }
}

}  // namespace drvwatch_test
