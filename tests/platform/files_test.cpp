#include <windows.h>
#include <shlwapi.h>

#include "platform_test.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <cstdio>
#else
#include <winplatform/crt.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("winplatform-files-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::remove_all(folder);
        STAND_IN_COUNT(EXPECT_EQ(winplatform::openFileCount(), 0u));
    }
    static HANDLE create(const fs::path& path, DWORD share = 0) {
        return CreateFileW(wide(path.u16string().c_str()), GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static std::string contentOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static bool write(HANDLE file, const std::string& bytes) {
        DWORD written = 0;
        return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    }
    fs::path folder;
};

TEST_F(Files, CreateAlwaysCreatesOrReplaces) {
    const fs::path path = folder / "sig.gif";
    HANDLE file = create(path);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::openFileCount(), 1u));
    EXPECT_TRUE(write(file, "first content"));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file)) << "a handle closes once";

    file = create(path);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(write(file, "new"));
    CloseHandle(file);
    EXPECT_EQ(contentOf(path), "new");
}

TEST_F(Files, AFileHeldWithoutSharingCannotBeOpenedAgainAndKeepsItsContent) {
    const fs::path path = folder / "held.gif";
    HANDLE holder = create(path);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(write(holder, "kept"));
    EXPECT_EQ(create(path), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    CloseHandle(holder);
    EXPECT_EQ(contentOf(path), "kept");
}

TEST_F(Files, OpenFailuresSayWhy) {
    EXPECT_EQ(create(folder / "missing" / "sig.gif"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(create(folder), INVALID_HANDLE_VALUE) << "a folder is not a file";
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(CreateFileW(wide(u""), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

TEST_F(Files, PathsOf260UnitsOrMoreCannotBeOpened) {
    // Windows refuses a path of MAX_PATH units or more that is not written
    // in its \\?\ form; wine opens it, keeping no such limit.
    if (kOnWindows) GTEST_SKIP() << "wine does not keep the MAX_PATH limit of Windows";
    std::u16string longPath = folder.u16string() + u"/";
    while (longPath.size() < 259) longPath.push_back(u'a');
    HANDLE file = CreateFileW(wide(longPath.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "259 units still open";
    CloseHandle(file);
    longPath.push_back(u'a');
    EXPECT_EQ(CreateFileW(wide(longPath.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
}

TEST_F(Files, AWriteToAFullDiskFails) {
    HANDLE full = CreateFileW(wide(u"/dev/full"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (full == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no /dev/full here";
    EXPECT_FALSE(write(full, "bytes"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    CloseHandle(full);
}

TEST_F(Files, WritingNeedsWriteAccess) {
    const fs::path path = folder / "read-only.txt";
    std::ofstream(path) << "x";
    HANDLE reader =
        CreateFileW(wide(path.u16string().c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(write(reader, "y"));
    char byte = 0;
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(reader, &byte, 1, &read, nullptr));
    EXPECT_EQ(read, 1u);
    EXPECT_EQ(byte, 'x');
    CloseHandle(reader);
}

// A named pipe is no file of Windows: refused at once, whether or not
// anyone holds its other end, and never waited on. Nor is a folder.
TEST_F(Files, NamedPipesAndFoldersAreRefusedAtOnce) {
#if !defined(_WIN32)  // Windows has no named pipes in its file system.
    const fs::path pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(create(pipe), INVALID_HANDLE_VALUE) << "opened a pipe as a file";
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    ASSERT_EQ(_wfopen(pipe.u16string().c_str(), u"at"), nullptr);
    ::close(reader);
    EXPECT_EQ(create(pipe), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(_wfopen(pipe.u16string().c_str(), u"at"), nullptr);
    EXPECT_EQ(_wfopen(pipe.u16string().c_str(), u"rb"), nullptr);
#endif
    for (const char16_t* mode : {u"rb", u"at"}) {
        errno = 0;
        EXPECT_EQ(_wfopen(wide(folder.u16string().c_str()), wide(mode)), nullptr) << "a folder opened as a file";
        EXPECT_EQ(errno, EACCES);
    }
}

// Names that Windows refuses make no file, not even one in the current
// folder named by the whole text.
TEST_F(Files, NamesWindowsRefusesMakeNoFile) {
    const std::u16string base = folder.u16string() + u"/";
    // What wine answers where it differs from Windows: it has no network
    // redirector, so a server that is not there is a path not found; it makes
    // a file named with the colon of a stream, having no streams (0: left out
    // under wine); it finds no file, rather than no path, on a drive that is
    // not there.
    struct Refused {
        std::u16string name;
        DWORD error;
        DWORD wineError;
    };
    const Refused refused[] = {
        {u"\\\\server\\share\\sig.gif", ERROR_BAD_NETPATH, ERROR_PATH_NOT_FOUND},
        {u"//server/share/sig.gif", ERROR_BAD_NETPATH, ERROR_PATH_NOT_FOUND},
        {base + u"sig\r.gif", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
        {base + u"tab\t.gif", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
        {base + u"a<b.gif", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
        {base + u"a>b.gif", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
        {base + u"a\"b.gif", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
        {base + u"a|b.gif", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
        {base + u"a?b.gif", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
        {base + u"a*b.gif", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
        {base + u"sig.gif:stream", ERROR_INVALID_NAME, 0},
        {u"Q:\\sig.gif", ERROR_PATH_NOT_FOUND, ERROR_FILE_NOT_FOUND},
    };
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    for (const auto& [name, windowsError, wineError] : refused) {
        if (kOnWindows && wineError == 0) continue;
        const DWORD error = kOnWindows ? wineError : windowsError;
        EXPECT_EQ(create(fs::path(name)), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), error) << fs::path(name).string();
        EXPECT_EQ(_wfopen(wide(name.c_str()), wide(u"wb")), nullptr);
        EXPECT_EQ(errno, error == ERROR_INVALID_NAME ? EINVAL : ENOENT);
        EXPECT_FALSE(PathFileExistsW(wide(name.c_str())));
    }
    fs::current_path(before);
    EXPECT_TRUE(fs::is_empty(folder)) << "a refused name made a file";
    // The drive map's Z: for the Linux root is the stand-in's own.
    if (kOnWindows) return;
    // The drive's own colon is no fault.
    const std::u16string driveZ = u"Z:" + folder.u16string() + u"/sig.gif";
    HANDLE file = create(fs::path(driveZ));
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

}  // namespace
