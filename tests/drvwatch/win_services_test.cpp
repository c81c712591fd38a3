// The Win32 services drvwatch calls: version, current directory, path
// tests, starting programs, and the processes of the system.
#include "fake_installer_folder.h"
#include "harness.h"

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "platform_test.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace drvwatch_test {
namespace {

// Runs one test in another current directory.
class ScopedDirectory {
public:
    explicit ScopedDirectory(const std::string& folder) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~ScopedDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(old_, ignored);
    }
    ScopedDirectory(const ScopedDirectory&) = delete;
    ScopedDirectory& operator=(const ScopedDirectory&) = delete;

private:
    std::filesystem::path old_;
};

// A test's folder as the system names it: on Linux through the stand-in's
// drive Z: for the root, on Windows as it is.
std::string windowsNotation(const std::string& folder) {
    if (kOnWindows) return folder;
    std::string path = "Z:" + folder;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// A file of the folder named on drive C:, which on Linux the stand-in puts
// where WIN_DRIVE_C says; Windows keeps its own drive C:, so there the
// folder's own name stands for it.
class DriveC {
public:
    explicit DriveC(const TempDir& dir) : dir_(dir), setting_("WIN_DRIVE_C", dir.path().c_str()) {}
    std::string operator/(const std::string& name) const {
        return kOnWindows ? dir_ / name : "C:\\" + name;
    }

private:
    const TempDir& dir_;
    ScopedVariable setting_;
};

// "café" as a file name in the system's own terms: UTF-8 on Linux, the
// Windows-1252 code page on Windows.
const std::string kCafe = kOnWindows ? "caf\xE9" : "caf\xC3\xA9";

OSVERSIONINFOA versionNow() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    EXPECT_TRUE(GetVersionExA(&info));
    return info;
}

#if !defined(_WIN32)
// The version the stand-in reports, set with its own WIN_VERSION.
TEST(GetVersionExA, ReportsWindows7WhenNothingIsConfigured) {
    ScopedVariable unset("WIN_VERSION", nullptr);
    const OSVERSIONINFOA info = versionNow();
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwBuildNumber, 7601u);
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_STREQ(info.szCSDVersion, "Service Pack 1");
}

TEST(GetVersionExA, ReportsTheConfiguredVersion) {
    {
        ScopedVariable version("WIN_VERSION", "4.0");
        const OSVERSIONINFOA info = versionNow();
        EXPECT_EQ(info.dwMajorVersion, 4u);
        EXPECT_EQ(info.dwMinorVersion, 0u);
        EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
        EXPECT_STREQ(info.szCSDVersion, "");
    }
    {
        ScopedVariable version("WIN_VERSION", "5.1.2600");
        const OSVERSIONINFOA info = versionNow();
        EXPECT_EQ(info.dwMajorVersion, 5u);
        EXPECT_EQ(info.dwMinorVersion, 1u);
        EXPECT_EQ(info.dwBuildNumber, 2600u);
    }
    {
        ScopedVariable version("WIN_VERSION", "4.10");
        EXPECT_EQ(versionNow().dwPlatformId, VER_PLATFORM_WIN32_WINDOWS);
    }
}

TEST(GetVersionExA, IgnoresAMalformedVersion) {
    for (const char* malformed : {"", "5", "5.", "5.x", "five.one", "5.1.", "5.1.2.3", " 5.1", "5.1 ", "9999999.1"}) {
        ScopedVariable version("WIN_VERSION", malformed);
        const OSVERSIONINFOA info = versionNow();
        EXPECT_EQ(info.dwMajorVersion, 6u) << '"' << malformed << '"';
        EXPECT_EQ(info.dwMinorVersion, 1u) << '"' << malformed << '"';
    }
}

#endif

TEST(GetVersionExA, FillsTheExtendedRecordToo) {
    ScopedVariable unset("WIN_VERSION", nullptr);
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)));
    const OSVERSIONINFOA basic = versionNow();
    EXPECT_EQ(info.dwMajorVersion, basic.dwMajorVersion);
    EXPECT_EQ(info.dwBuildNumber, basic.dwBuildNumber);
    EXPECT_STREQ(info.szCSDVersion, basic.szCSDVersion);
    EXPECT_EQ(info.wServicePackMajor, basic.szCSDVersion[0] == '\0' ? 0u : 1u) << basic.szCSDVersion;
    if (!kOnWindows) {  // the stand-in's Windows 7 with Service Pack 1
        EXPECT_EQ(info.dwMajorVersion, 6u);
        EXPECT_EQ(info.wServicePackMajor, 1u);
    }
}

TEST(GetVersionExA, RefusesARecordOfUnknownSize) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info - 1;
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(info.dwMajorVersion, 0u);
}

TEST(GetCurrentDirectoryA, GivesTheDirectoryInWindowsNotation) {
    TempDir dir;
    ScopedVariable driveC("WIN_DRIVE_C", (dir / "drive_c").c_str());
    ScopedDirectory here(dir.path());
    char buffer[512];
    const std::string expected = windowsNotation(dir.path());
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), expected.size());
    EXPECT_EQ(std::string(buffer), expected);
}

#if !defined(_WIN32)  // the stand-in's drive C: (WIN_DRIVE_C)
TEST(GetCurrentDirectoryA, NamesAFolderOfDriveCWithItsLetter) {
    TempDir dir;
    makeFolders(dir / "Program Files");
    ScopedVariable driveC("WIN_DRIVE_C", dir.path().c_str());
    char buffer[256];
    {
        ScopedDirectory here(dir / "Program Files");
        EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), 16u);
        EXPECT_STREQ(buffer, "C:\\Program Files");
    }
    ScopedDirectory root(dir.path());
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), 3u);
    EXPECT_STREQ(buffer, "C:\\");
}
#endif

TEST(GetCurrentDirectoryA, AsksForMoreRoomAndWritesNothingWhenTheBufferIsTooSmall) {
    TempDir dir;
    ScopedDirectory here(dir.path());
    const std::string expected = windowsNotation(dir.path());
    const auto needed = static_cast<DWORD>(expected.size() + 1);
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), needed);

    char buffer[512];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetCurrentDirectoryA(needed - 1, buffer), needed);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, 'x'));

    EXPECT_EQ(GetCurrentDirectoryA(needed, buffer), needed - 1);
    EXPECT_EQ(std::string(buffer), expected);
}

#if !defined(_WIN32)  // Windows keeps the current directory within MAX_PATH.
TEST(GetCurrentDirectoryA, ReadsADirectoryDeeperThanAnyFixedLimit) {
    TempDir dir;
    std::string deep = dir.path();
    for (int i = 0; i < 30; ++i) deep += "/" + std::string(100, 'd');
    makeFolders(deep);
    ScopedDirectory here(deep);
    std::string buffer(8192, '\0');
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    EXPECT_EQ(buffer.substr(0, length), windowsNotation(deep));
}
#endif

TEST(GetCurrentDirectoryA, GivesTheNameInTheAnsiCodePage) {
    if (kOnWindows && GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP();
    TempDir dir;
    const std::string folder = dir / kCafe;
    makeFolders(folder);
    ScopedDirectory here(folder);
    char buffer[512];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer, length), windowsNotation(dir.path()) + "\\caf\xE9");  // Windows-1252
}

std::u16string wideText(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

TEST(PathFileExists, FindsFilesAndFoldersInEitherNotation) {
    TempDir dir;
    writeFile(dir / "DPInstx86.exe", "x");
    const DriveC driveC(dir);
    EXPECT_TRUE(PathFileExistsA((windowsNotation(dir.path()) + "\\DPInstx86.exe").c_str()));
    EXPECT_TRUE(PathFileExistsA((dir.path() + "/DPInstx86.exe").c_str()));
    EXPECT_TRUE(PathFileExistsA((driveC / "DPInstx86.exe").c_str()));
    EXPECT_TRUE(PathFileExistsA("C:\\"));
    EXPECT_TRUE(PathFileExistsW(wide(wideText(driveC / "DPInstx86.exe").c_str())));
    EXPECT_TRUE(PathFileExistsA(windowsNotation(dir.path()).c_str()));
    if (!kOnWindows) {
        EXPECT_TRUE(PathFileExistsA("c:/DPInstx86.exe")) << "the drive letter in either case, either slash";
    }
}

TEST(PathFileExists, DoesNotFindWhatIsNotThere) {
    TempDir dir;
    writeFile(dir / "DPInstx86.exe", "x");
    const DriveC driveC(dir);
    EXPECT_FALSE(PathFileExistsA((driveC / "DPInstx64.exe").c_str()));
    // Linux names are case-sensitive; Windows names are not.
    EXPECT_EQ(PathFileExistsA((driveC / "dpinstx86.exe").c_str()), kOnWindows);
    // A quoted path names no file.
    EXPECT_FALSE(PathFileExistsA(("\"" + (driveC / "DPInstx86.exe") + "\"").c_str()));
    // A drive that is not there (on Linux, any but C and Z) holds nothing.
    EXPECT_FALSE(PathFileExistsA("Q:\\DPInstx86.exe"));
    EXPECT_FALSE(PathFileExistsA(""));
    EXPECT_FALSE(PathFileExistsA(nullptr));
    EXPECT_FALSE(PathFileExistsW(wide(u"")));
    EXPECT_FALSE(PathFileExistsW(nullptr));
}

TEST(PathFileExists, ReadsNarrowPathsInTheAnsiCodePage) {
    if (kOnWindows && GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP();
    TempDir dir;
    writeFile(dir / (kCafe + ".txt"), "x");
    const DriveC driveC(dir);
    EXPECT_TRUE(PathFileExistsA((driveC / "caf\xE9.txt").c_str()));
    EXPECT_TRUE(PathFileExistsW(wide((wideText(driveC / "caf") + u"\u00E9.txt").c_str())));
}

INT_PTR shellExecute(const char* verb, const std::string& file, const char* parameters = nullptr,
                     const char* directory = nullptr) {
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, verb, file.c_str(), parameters, directory, SW_SHOWNORMAL));
}

TEST(ShellExecuteA, StartsAProgramNamedByAQuotedWindowsPath) {
    TempDir dir;
    putInstaller(dir, "run_ms 0\nstarted started.flag\n");
    EXPECT_GT(shellExecute("open", "\"" + windowsNotation(dir.path()) + "\\DPInstx86.exe\""), 32);
    EXPECT_TRUE(waitForFile(dir / "started.flag"));
}

#if !defined(_WIN32)
// What a Linux process leaves to reap, and a Linux shell: Windows has neither.
TEST(ShellExecuteA, LeavesTheProgramToRunOnItsOwn) {
    TempDir dir;
    putInstaller(dir, "until stop.flag\nstarted started.flag\nended ended.flag\n");
    ASSERT_GT(shellExecute(nullptr, dir / "DPInstx86.exe"), 32);
    ASSERT_TRUE(waitForFile(dir / "started.flag"));
    // It is no child of the caller: nothing is left for the caller to reap,
    // neither while it runs nor after.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    writeFile(dir / "stop.flag", "");
    EXPECT_TRUE(waitForFile(dir / "ended.flag"));
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(ShellExecuteA, PassesParametersAndTheWorkingDirectory) {
    TempDir dir;
    makeFolders(dir / "work");
    const std::string parameters = "-c \"printf '%s|' \\\"$@\\\" > out.txt\" sh \"two words\" plain \"a \\\"quote\\\"\"";
    ASSERT_GT(shellExecute("open", "/bin/sh", parameters.c_str(), windowsNotation(dir / "work").c_str()), 32);
    ASSERT_TRUE(waitForFile(dir / "work/out.txt"));
    std::string text;
    for (int i = 0; i < 500 && text.size() < 26; ++i) {
        std::ifstream in(dir / "work/out.txt");
        std::getline(in, text);
        if (text.size() < 26) std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(text, "two words|plain|a \"quote\"|");
}
#endif

// A result above 32: the program was started.
constexpr INT_PTR kStarts = 33;

TEST(ShellExecuteA, TellsWhyAProgramCannotStart) {
    TempDir dir;
    writeFile(dir / "text.exe", "This is not a program.\n", 0755);
    copyFile(FAKE_INSTALLER_PROGRAM, dir / "DPInstx86.exe");
    makeFolders(dir / "folder.exe");
    // What wine answers where the stand-in differs: it finds no file rather
    // than no path, reads an empty name as no program, opens a folder (in
    // its file manager, as Windows opens it in Explorer), opens a program to
    // print it, and ignores a working directory that is not there.
    struct Refusal {
        const char* verb;
        std::string file;
        std::string directory;
        INT_PTR standIn;
        INT_PTR wine;
    };
    const Refusal refusals[] = {
        {"open", dir / "missing.exe", "", SE_ERR_FNF, SE_ERR_FNF},
        {"open", dir / "missing/DPInstx86.exe", "", SE_ERR_PNF, SE_ERR_FNF},
        {"open", "Q:\\DPInstx86.exe", "", SE_ERR_PNF, SE_ERR_FNF},
        {"open", dir / "text.exe", "", 11, 11},  // not a program
        {"open", dir / "folder.exe", "", SE_ERR_NOASSOC, kStarts},
        {"open", "", "", SE_ERR_FNF, 11},
        {"print", dir / "DPInstx86.exe", "", SE_ERR_NOASSOC, kStarts},
        {"open", dir / "DPInstx86.exe", dir / "missing", SE_ERR_PNF, kStarts},
    };
    for (const auto& [verb, file, directory, standIn, wine] : refusals) {
        const INT_PTR expected = kOnWindows ? wine : standIn;
        const INT_PTR answer = shellExecute(verb, file, nullptr, directory.empty() ? nullptr : directory.c_str());
        if (expected == kStarts) {
            EXPECT_GT(answer, 32) << verb << ' ' << file;
        } else {
            EXPECT_EQ(answer, expected) << verb << ' ' << file;
        }
        if (standIn == 11) {
            EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT) << file;
        }
    }
#if !defined(_WIN32)  // Windows has no right to run a file apart from reading it.
    copyFile(FAKE_INSTALLER_PROGRAM, dir / "locked.exe", 0644);
    EXPECT_EQ(shellExecute("open", dir / "locked.exe"), SE_ERR_ACCESSDENIED);
#endif
}

TEST(Sleep, SleepsAtLeastAsLongAsAsked) {
    const auto before = Clock::now();
    Sleep(120);
    EXPECT_GE(Clock::now() - before, 120ms);
    Sleep(0);
}

}  // namespace
}  // namespace drvwatch_test
