// drvwatch as built for Linux, on the winplatform library.
#include "cases.h"

#include <unistd.h>

namespace drvwatch_test {
namespace {

class LinuxPlatform : public Platform {
public:
    std::vector<std::string> command(const std::string& program) const override { return {program}; }
    std::string drvwatch() const override { return DRVWATCH_PROGRAM; }
    std::string fakeInstaller() const override { return FAKE_INSTALLER_PROGRAM; }
    std::string windowsPath(const std::string& linuxFolder) const override {
        std::string path = "Z:" + linuxFolder;
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        return path;
    }
    std::string screen(const std::string& text) const override { return text; }
    Environment environment() const override {
        // Drive C is a folder of its own, so the test folders are on drive Z;
        // an inherited WIN_VERSION is blanked, which leaves the default. The
        // processes each test starts are a world of their own: no other
        // installer running on the machine is seen.
        return {{"WIN_DRIVE_C", driveC_.path()}, {"WIN_VERSION", ""}, {"WIN_PROCESS_WORLD", world()}};
    }
    static std::string world() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "drvwatch-" + std::to_string(::getpid());
        if (test != nullptr) name += std::string("-") + test->test_suite_name() + "." + test->name();
        return name;
    }
    void writeUnstartable(const std::string& path) const override {
        writeFile(path, "This is not a program.\n", 0755);
    }
    std::pair<std::string, Environment> drvwatchOnWindows(const std::string& version) const override {
        return {drvwatch(), {{"WIN_VERSION", version}}};
    }

private:
    TempDir driveC_{"drvwatch-drive-c"};
};

}  // namespace

Platform& platform() {
    static LinuxPlatform linux;
    return linux;
}

namespace {

TEST_F(DrvwatchCase, EndsTheWaitAfterTheFirstDotWhenTheInstallerMayNotBeExecuted) {
    copyFile(FAKE_INSTALLER_PROGRAM, *dir_ / "DPInstx86.exe", 0644);
    writeFile(*dir_ / "DPInstx86.cfg", "run_ms 0\nstarted started.flag\n");
    auto program = startDrvwatch(dir_->path());
    EXPECT_EQ(expectNormalRun(*program, dir_->path()), 1);
    EXPECT_FALSE(exists(*dir_ / "started.flag"));
}

// The snapshot grows until it holds every process: the installer, listed
// after 1,100 others, is still waited for.
TEST_F(DrvwatchCase, WaitsForTheInstallerAmongMoreThan1024Processes) {
    putInstaller(dir_->path(), "DPInstx86.exe", {"until stop.flag", "started started.flag"});
    Environment environment = platform().environment();
    environment["WIN_ENDED_PROCESSES"] = "1100";
    Process program({DRVWATCH_PROGRAM}, dir_->path(), environment);
    const std::string folder = dir_->path();
    ASSERT_TRUE(program.readUntil([&](const std::string& out) { return dotsSoFar(out, folder) >= 3; }))
        << "stopped waiting for a running installer: " << program.output();
    writeFile(*dir_ / "stop.flag", "");
    EXPECT_GE(expectNormalRun(program, folder), 3);
}

// An installer of the same name running outside the test's world, as
// another setup on the machine would, is not the one started here.
TEST_F(DrvwatchCase, DoesNotWaitForAnInstallerOutsideItsWorld) {
    const std::string elsewhere = *dir_ / "elsewhere";
    makeFolders(elsewhere);
    putInstaller(elsewhere, "DPInstx86.exe", {"until stop.flag", "started started.flag"});
    Environment outside = platform().environment();
    outside["WIN_PROCESS_WORLD"] = "elsewhere";
    Process other({elsewhere + "/DPInstx86.exe"}, elsewhere, outside);
    ASSERT_TRUE(waitForFile(elsewhere + "/started.flag"));
    platform().writeUnstartable(*dir_ / "DPInstx86.exe");
    auto program = startDrvwatch(dir_->path());
    EXPECT_EQ(expectNormalRun(*program, dir_->path()), 1);
    writeFile(elsewhere + "/stop.flag", "");
    EXPECT_TRUE(other.wait().has_value());
}

TEST_F(DrvwatchCase, NamesAFolderOfDriveCWithItsDriveLetter) {
    const std::string driveC = *dir_ / "drive_c";
    const std::string folder = driveC + "/Program Files/Tarvek";
    makeFolders(folder);
    putInstaller(folder, "DPInstx86.exe", {"run_ms 0", "started started.flag"});
    Environment environment = platform().environment();
    environment["WIN_DRIVE_C"] = driveC;
    Process program({DRVWATCH_PROGRAM}, folder, environment);
    ASSERT_TRUE(program.wait().has_value());
    const std::string expected = "32-bit OS detected\n\"C:\\Program Files\\Tarvek\\DPInstx86.exe\"\nInstalling driver.";
    EXPECT_EQ(program.output().substr(0, expected.size()), expected);
    EXPECT_TRUE(exists(folder + "/started.flag"));
}

TEST_F(DrvwatchCase, TakesAnyVersionFrom5OnAsNewEnough) {
    for (const char* version : {"5.1", "6.0.6000", "10.0.19045"}) {
        Environment environment = platform().environment();
        environment["WIN_VERSION"] = version;
        Process program({DRVWATCH_PROGRAM}, dir_->path(), environment);
        expectWaitsForEnter(program, missingText());
    }
}

TEST_F(DrvwatchCase, RefusesEveryVersionBefore5) {
    for (const char* version : {"3.51", "4.10", "4.90"}) {
        Environment environment = platform().environment();
        environment["WIN_VERSION"] = version;
        Process program({DRVWATCH_PROGRAM}, dir_->path(), environment);
        expectWaitsForEnter(program,
                            "This installer requires Windows 2000 or later.\nPress enter to terminate the installer.");
    }
}

}  // namespace
}  // namespace drvwatch_test
