// The Win32 services drvwatch calls, as the Linux platform library gives
// them: version, current directory, path tests, starting programs, and the
// processes of the system.
#include "harness.h"

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "winplatform/diagnostics.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <thread>

namespace drvwatch_test {
namespace {

// Runs one test in another current directory.
class ScopedDirectory {
public:
    explicit ScopedDirectory(const std::string& folder) {
        char* old = ::getcwd(nullptr, 0);
        old_ = old;
        std::free(old);
        if (::chdir(folder.c_str()) != 0) throw std::runtime_error("chdir");
    }
    ~ScopedDirectory() { (void)!::chdir(old_.c_str()); }
    ScopedDirectory(const ScopedDirectory&) = delete;
    ScopedDirectory& operator=(const ScopedDirectory&) = delete;

private:
    std::string old_;
};

std::string windowsNotation(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

OSVERSIONINFOA versionNow() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    EXPECT_TRUE(GetVersionExA(&info));
    return info;
}

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

TEST(GetVersionExA, FillsTheExtendedRecordToo) {
    ScopedVariable unset("WIN_VERSION", nullptr);
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)));
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.wServicePackMajor, 1u);
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

TEST(GetCurrentDirectoryA, GivesTheNameInTheAnsiCodePage) {
    TempDir dir;
    const std::string folder = dir / "caf\xC3\xA9";  // UTF-8 on Linux
    makeFolders(folder);
    ScopedDirectory here(folder);
    char buffer[512];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer, length), windowsNotation(dir.path()) + "\\caf\xE9");  // Windows-1252
}

TEST(PathFileExists, FindsFilesAndFoldersInEitherNotation) {
    TempDir dir;
    writeFile(dir / "DPInstx86.exe", "x");
    ScopedVariable driveC("WIN_DRIVE_C", dir.path().c_str());
    EXPECT_TRUE(PathFileExistsA((windowsNotation(dir.path()) + "\\DPInstx86.exe").c_str()));
    EXPECT_TRUE(PathFileExistsA((dir / "DPInstx86.exe").c_str()));
    EXPECT_TRUE(PathFileExistsA("C:\\DPInstx86.exe"));
    EXPECT_TRUE(PathFileExistsA("c:/DPInstx86.exe"));
    EXPECT_TRUE(PathFileExistsA("C:\\"));
    EXPECT_TRUE(PathFileExistsW(u"C:\\DPInstx86.exe"));
    EXPECT_TRUE(PathFileExistsA(windowsNotation(dir.path()).c_str()));
}

TEST(PathFileExists, DoesNotFindWhatIsNotThere) {
    TempDir dir;
    writeFile(dir / "DPInstx86.exe", "x");
    ScopedVariable driveC("WIN_DRIVE_C", dir.path().c_str());
    EXPECT_FALSE(PathFileExistsA("C:\\DPInstx64.exe"));
    // Linux names are case-sensitive.
    EXPECT_FALSE(PathFileExistsA("C:\\dpinstx86.exe"));
    // A quoted path names no file.
    EXPECT_FALSE(PathFileExistsA("\"C:\\DPInstx86.exe\""));
    // Drives other than C and Z stand for no folder.
    EXPECT_FALSE(PathFileExistsA("D:\\DPInstx86.exe"));
    EXPECT_FALSE(PathFileExistsA(""));
    EXPECT_FALSE(PathFileExistsA(nullptr));
    EXPECT_FALSE(PathFileExistsW(u""));
    EXPECT_FALSE(PathFileExistsW(nullptr));
}

TEST(PathFileExists, ReadsNarrowPathsInTheAnsiCodePage) {
    TempDir dir;
    writeFile(dir / "caf\xC3\xA9.txt", "x");
    ScopedVariable driveC("WIN_DRIVE_C", dir.path().c_str());
    EXPECT_TRUE(PathFileExistsA("C:\\caf\xE9.txt"));
    EXPECT_TRUE(PathFileExistsW(u"C:\\caf\u00E9.txt"));
}

INT_PTR shellExecute(const char* verb, const std::string& file, const char* parameters = nullptr,
                     const char* directory = nullptr) {
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, verb, file.c_str(), parameters, directory, SW_SHOWNORMAL));
}

// The folder the fake installer ran in once it marks that it started.
void putInstaller(const TempDir& dir, const std::string& settings) {
    copyFile(FAKE_INSTALLER_PROGRAM, dir / "DPInstx86.exe");
    writeFile(dir / "DPInstx86.cfg", settings);
}

TEST(ShellExecuteA, StartsAProgramNamedByAQuotedWindowsPath) {
    TempDir dir;
    putInstaller(dir, "run_ms 0\nstarted started.flag\n");
    EXPECT_GT(shellExecute("open", "\"" + windowsNotation(dir.path()) + "\\DPInstx86.exe\""), 32);
    EXPECT_TRUE(waitForFile(dir / "started.flag"));
}

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

TEST(ShellExecuteA, TellsWhyAProgramCannotStart) {
    TempDir dir;
    writeFile(dir / "text.exe", "This is not a program.\n", 0755);
    copyFile(FAKE_INSTALLER_PROGRAM, dir / "locked.exe", 0644);
    makeFolders(dir / "folder.exe");
    EXPECT_EQ(shellExecute("open", dir / "missing.exe"), SE_ERR_FNF);
    EXPECT_EQ(shellExecute("open", dir / "missing/DPInstx86.exe"), SE_ERR_PNF);
    EXPECT_EQ(shellExecute("open", "D:\\DPInstx86.exe"), SE_ERR_PNF);
    EXPECT_EQ(shellExecute("open", dir / "locked.exe"), SE_ERR_ACCESSDENIED);
    EXPECT_EQ(shellExecute("open", dir / "text.exe"), 11);  // not a program
    EXPECT_EQ(GetLastError(), 11u);
    EXPECT_EQ(shellExecute("open", dir / "folder.exe"), SE_ERR_NOASSOC);
    EXPECT_EQ(shellExecute("open", ""), SE_ERR_FNF);
    copyFile(FAKE_INSTALLER_PROGRAM, dir / "DPInstx86.exe");
    EXPECT_EQ(shellExecute("print", dir / "DPInstx86.exe"), SE_ERR_NOASSOC);
    EXPECT_EQ(shellExecute("open", dir / "DPInstx86.exe", nullptr, (dir / "missing").c_str()), SE_ERR_PNF);
}

TEST(Sleep, SleepsAtLeastAsLongAsAsked) {
    const auto before = Clock::now();
    Sleep(120);
    EXPECT_GE(Clock::now() - before, 120ms);
    Sleep(0);
}

}  // namespace
}  // namespace drvwatch_test
