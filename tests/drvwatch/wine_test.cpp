// drvwatch as built for Windows, run under wine: the 64-bit build, since
// 32-bit Windows programs cannot run on these machines, from the same source
// as the 32-bit program that is shipped.
#include "cases.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace drvwatch_test {
namespace {

std::string findWine() {
    if (const char* configured = std::getenv("WINE64"); configured != nullptr && *configured != '\0') {
        return configured;
    }
    // Debian's wine64 package keeps the loader out of PATH.
    for (const char* candidate : {"/usr/lib/wine/wine64", "/usr/bin/wine64", "/usr/local/bin/wine64"}) {
        if (::access(candidate, X_OK) == 0) return candidate;
    }
    return {};
}

// Runs a command to its end with the test's environment and no input.
int runToEnd(const std::vector<std::string>& argv, const Environment& environment) {
    TempDir scratch("drvwatch-wine-cmd");
    Process command(argv, scratch.path(), environment);
    command.closeInput();
    const std::optional<int> status = command.wait(std::chrono::minutes(5));
    return status.value_or(-1);
}

// One wine prefix, made in a temporary folder for the whole test program
// (making it takes a while), and a wine server that is ended at the end.
class Wine : public testing::Environment {
public:
    void SetUp() override {
        wine_ = findWine();
        if (wine_.empty()) {
            // CI installs wine through the setup script, so there a missing
            // wine is a fault, not a reason to skip.
            const char* ci = std::getenv("CI");
            if (ci != nullptr && std::string(ci) == "true") FAIL() << "wine64 is not installed";
            return;
        }
        wineserver_ = wine_.substr(0, wine_.rfind('/')) + "/wineserver";
        if (::access(wineserver_.c_str(), X_OK) != 0) wineserver_ = "wineserver";
        prefix_ = std::make_unique<TempDir>("drvwatch-wineprefix");
        programs_ = std::make_unique<TempDir>("drvwatch-wine-programs");
        environment_ = {
            {"WINEPREFIX", prefix_->path()},
            {"WINEDEBUG", "-all"},
            // No Mono or Gecko: nothing here needs them and asking for them
            // would stop the start-up at a dialog.
            {"WINEDLLOVERRIDES", "mscoree,mshtml="},
            {"DISPLAY", ""},
        };
        ASSERT_EQ(runToEnd({wine_, "wineboot", "--init"}, environment_), 0) << "wineboot failed";
        // Copies of the program that wine shows an older Windows to.
        for (const auto& [version, name] : {std::pair{"4.0", "nt40"}, std::pair{"5.0", "win2k"}}) {
            const std::string program = *programs_ / ("drvwatch-" + std::string(version) + ".exe");
            copyFile(DRVWATCH_WINDOWS_PROGRAM, program);
            const std::string key =
                "HKCU\\Software\\Wine\\AppDefaults\\drvwatch-" + std::string(version) + ".exe";
            ASSERT_EQ(runToEnd({wine_, "reg", "add", key, "/v", "Version", "/d", name, "/f"}, environment_), 0);
            versions_[version] = program;
        }
        ready_ = true;
    }

    void TearDown() override {
        if (prefix_) {
            runToEnd({wineserver_, "-k"}, environment_);
            runToEnd({wineserver_, "-w"}, environment_);
        }
        programs_.reset();
        prefix_.reset();
    }

    bool ready() const { return ready_; }
    const std::string& wine() const { return wine_; }
    const drvwatch_test::Environment& environment() const { return environment_; }
    std::string versionCopy(const std::string& version) const { return versions_.at(version); }

private:
    std::string wine_;
    std::string wineserver_;
    std::unique_ptr<TempDir> prefix_;
    std::unique_ptr<TempDir> programs_;
    drvwatch_test::Environment environment_;
    std::map<std::string, std::string> versions_;
    bool ready_ = false;
};

Wine* wine = nullptr;

class WinePlatform : public Platform {
public:
    std::optional<std::string> unavailable() const override {
        if (wine == nullptr || !wine->ready()) return "wine64 is not available";
        return std::nullopt;
    }
    std::vector<std::string> command(const std::string& program) const override { return {wine->wine(), program}; }
    std::string drvwatch() const override { return DRVWATCH_WINDOWS_PROGRAM; }
    std::string fakeInstaller() const override { return FAKE_INSTALLER_WINDOWS_PROGRAM; }
    // Wine shows the Linux file system as drive Z.
    std::string windowsPath(const std::string& linuxFolder) const override {
        std::string path = "Z:" + linuxFolder;
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        return path;
    }
    // A console program's standard output is in text mode on Windows.
    std::string screen(const std::string& text) const override { return withCrLf(text); }
    Environment environment() const override { return wine->environment(); }
    void writeUnstartable(const std::string& path) const override {
        writeFile(path, "This is not a program.\r\n", 0755);
    }
    std::pair<std::string, Environment> drvwatchOnWindows(const std::string& version) const override {
        return {wine->versionCopy(version), {}};
    }
};

const bool registered = [] {
    wine = new Wine;
    testing::AddGlobalTestEnvironment(wine);  // gtest owns it from here
    return true;
}();

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::uint32_t little(const std::string& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(at + i))) << (8 * i);
    }
    return value;
}

struct PeKind {
    std::uint32_t machine;
    std::uint32_t optionalMagic;
    std::uint32_t subsystem;
};

PeKind peKind(const std::string& path) {
    const std::string bytes = readAll(path);
    EXPECT_EQ(bytes.substr(0, 2), "MZ");
    const std::size_t header = little(bytes, 0x3C, 4);
    EXPECT_EQ(bytes.substr(header, 4), std::string("PE\0\0", 4));
    const std::size_t optional = header + 24;
    return {little(bytes, header + 4, 2), little(bytes, optional, 2), little(bytes, optional + 68, 2)};
}

}  // namespace

Platform& platform() {
    static WinePlatform instance;
    return instance;
}

namespace {

constexpr std::uint32_t kMachineI386 = 0x14C;
constexpr std::uint32_t kMachineAmd64 = 0x8664;
constexpr std::uint32_t kPe32 = 0x10B;
constexpr std::uint32_t kPe32Plus = 0x20B;
constexpr std::uint32_t kConsoleSubsystem = 3;

TEST(WindowsPrograms, TheShippedProgramIsA32BitConsoleProgram) {
    const PeKind kind = peKind(DRVWATCH_SHIPPED_PROGRAM);
    EXPECT_EQ(kind.machine, kMachineI386);
    EXPECT_EQ(kind.optionalMagic, kPe32);
    EXPECT_EQ(kind.subsystem, kConsoleSubsystem);
}

TEST(WindowsPrograms, TheProgramsWineRunsAre64BitConsolePrograms) {
    for (const char* program : {DRVWATCH_WINDOWS_PROGRAM, FAKE_INSTALLER_WINDOWS_PROGRAM}) {
        const PeKind kind = peKind(program);
        EXPECT_EQ(kind.machine, kMachineAmd64) << program;
        EXPECT_EQ(kind.optionalMagic, kPe32Plus) << program;
        EXPECT_EQ(kind.subsystem, kConsoleSubsystem) << program;
    }
}

}  // namespace
}  // namespace drvwatch_test
