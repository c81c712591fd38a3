#include <windows.h>

#include "platform_test.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <winplatform/drive_map.h>

#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::u16string toWide(const char* text, int length = -1) {
    const int needed = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    std::u16string out(static_cast<std::size_t>(needed), u'\0');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, length, wide(out.data()), needed), needed);
    return out;
}

TEST(CodePages, AnsiIsWindows1252) {
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_EQ(toWide("Success", 7), u"Success");
    EXPECT_EQ(toWide("\x80\xAE\x9F\x81", 4), u"\u20AC\u00AE\u0178\u0081");
    EXPECT_EQ(toWide("ab"), std::u16string(u"ab\0", 3)) << "length -1 converts the terminator too";
}

TEST(CodePages, TooSmallABufferFails) {
    WCHAR buffer[2];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, buffer, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(CodePages, WideToAnsiUsesTheDefaultCharForWhatItCannotHold) {
    char buffer[8] = {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, 0, wide(u"a\u20AC\u4E2D"), 3, buffer, 8, nullptr, &usedDefault);
    ASSERT_EQ(n, 3);
    EXPECT_EQ(std::string(buffer, 3), "a\x80?");
    EXPECT_TRUE(usedDefault);
}

#if !defined(_WIN32)
// The stand-in's map of drive letters to Linux folders (drive_map.h), which
// Windows has no counterpart of.
class DriveMap : public ::testing::Test {
protected:
    void SetUp() override { setenv("WIN_DRIVE_C", "/srv/drive_c/", 1); }
    void TearDown() override { unsetenv("WIN_DRIVE_C"); }
};

TEST_F(DriveMap, DriveLettersMapToFolders) {
    EXPECT_EQ(winplatform::driveCFolder(), "/srv/drive_c");
    EXPECT_EQ(winplatform::hostPath("c:\\PenviraLog.txt"), "/srv/drive_c/PenviraLog.txt");
    EXPECT_EQ(winplatform::hostPath("C:/a\\b/c.txt"), "/srv/drive_c/a/b/c.txt");
    EXPECT_EQ(winplatform::hostPath("C:\\"), "/srv/drive_c");
    EXPECT_EQ(winplatform::hostPath("Z:\\tmp\\x"), "/tmp/x");
    EXPECT_EQ(winplatform::hostPath("z:"), "/");
    EXPECT_EQ(winplatform::hostPath("D:\\data"), std::nullopt);
}

TEST_F(DriveMap, OtherPathsPassThrough) {
    EXPECT_EQ(winplatform::hostPath("/tmp/a\\b"), "/tmp/a\\b");
    EXPECT_EQ(winplatform::hostPath("relative/file.gif"), "relative/file.gif");
    EXPECT_EQ(winplatform::hostPath(""), "");
    EXPECT_EQ(winplatform::hostPath(u"/tmp/\u00E9"), "/tmp/\xC3\xA9");
}

TEST_F(DriveMap, LinuxPathsInWindowsNotation) {
    EXPECT_EQ(winplatform::windowsPath("/srv/drive_c/Program Files"), "C:\\Program Files");
    EXPECT_EQ(winplatform::windowsPath("/srv/drive_c"), "C:\\");
    EXPECT_EQ(winplatform::windowsPath("/srv/drive_cx"), "Z:\\srv\\drive_cx");
    EXPECT_EQ(winplatform::windowsPath("/"), "Z:\\");
    EXPECT_EQ(winplatform::windowsPath("/tmp/x"), "Z:\\tmp\\x");
}

TEST(DriveMapDefault, DriveCLivesUnderHomeAndIsMadeWhenFirstNeeded) {
    unsetenv("WIN_DRIVE_C");
    const char* home = std::getenv("HOME");
    const std::string savedHome = home == nullptr ? "" : home;
    const std::filesystem::path fresh = std::filesystem::temp_directory_path() / ("zera-home-" + std::to_string(::getpid()));
    std::filesystem::remove_all(fresh);
    setenv("HOME", fresh.c_str(), 1);
    const std::filesystem::path expected = fresh / ".local/share/winplatform/drive_c";
    EXPECT_EQ(winplatform::driveCFolder(), expected.string());
    EXPECT_TRUE(std::filesystem::is_directory(expected)) << "a clean home has no drive C until it is asked for";
    if (savedHome.empty()) {
        unsetenv("HOME");
    } else {
        setenv("HOME", savedHome.c_str(), 1);
    }
    std::filesystem::remove_all(fresh);
}
#endif

}  // namespace
