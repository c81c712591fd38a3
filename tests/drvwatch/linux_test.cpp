// drvwatch as built for Linux, on the winplatform library.
#include "cases.h"

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
        // an inherited WIN_VERSION is blanked, which leaves the default.
        return {{"WIN_DRIVE_C", driveC_.path()}, {"WIN_VERSION", ""}};
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
