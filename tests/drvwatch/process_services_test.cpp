// The process services drvwatch calls: the list of processes, opening one,
// and its main module's name.
#include "fake_installer_folder.h"
#include "harness.h"

#include <windows.h>
#include <psapi.h>

#include "platform_test.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <memory>
#include <thread>

namespace drvwatch_test {
namespace {

std::vector<DWORD> processList(DWORD capacity = 65536) {
    std::vector<DWORD> ids(capacity);
    DWORD bytes = 0;
    EXPECT_TRUE(EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes));
    ids.resize(bytes / sizeof(DWORD));
    return ids;
}

bool lists(const std::vector<DWORD>& ids, DWORD processId) {
    return std::find(ids.begin(), ids.end(), processId) != ids.end();
}

TEST(EnumProcesses, ListsTheRunningProcesses) {
    TempDir dir;
    putInstaller(dir, "until stop.flag\n");
    Process child({dir / "DPInstx86.exe"}, dir.path());
    const std::vector<DWORD> ids = processList();
    EXPECT_TRUE(lists(ids, GetCurrentProcessId()));
    EXPECT_TRUE(lists(ids, static_cast<DWORD>(child.pid())));
    EXPECT_EQ(std::find(ids.begin(), ids.end(), 0u), ids.end());
    writeFile(dir / "stop.flag", "");
    EXPECT_TRUE(child.wait().has_value());
}

TEST(EnumProcesses, FillsNoMoreThanTheBufferHolds) {
    std::vector<DWORD> ids(3, 0xDEADBEEFu);
    DWORD bytes = 0;
    ASSERT_TRUE(EnumProcesses(ids.data(), 2 * sizeof(DWORD) + 3, &bytes));
    EXPECT_EQ(bytes, 2 * sizeof(DWORD));  // a machine runs more than two
    EXPECT_EQ(ids[2], 0xDEADBEEFu);
    ASSERT_TRUE(EnumProcesses(nullptr, 0, &bytes));
    EXPECT_EQ(bytes, 0u);
}

#if !defined(_WIN32)
// The stand-in's own settings, which Windows has no counterpart of: a world
// of processes for each test, and ended processes to start the list with.

// Processes started with the same WIN_PROCESS_WORLD are the only ones seen;
// the setting counts as a process was started, so the test program itself,
// which sets it only now, is not among them.
TEST(EnumProcesses, ListsOnlyTheProcessesOfItsWorld) {
    const std::string world = "world-" + std::to_string(::getpid());
    ScopedVariable setting("WIN_PROCESS_WORLD", world.c_str());
    TempDir dir;
    std::vector<std::unique_ptr<Process>> children;
    for (const std::string& value : {world, world + "-other", std::string()}) {
        const std::string folder = dir / std::to_string(children.size());
        makeFolders(folder);
        copyFile(FAKE_INSTALLER_PROGRAM, folder + "/DPInstx86.exe");
        writeFile(folder + "/DPInstx86.cfg", "until ../stop.flag\nstarted started.flag\n");
        children.push_back(std::make_unique<Process>(std::vector<std::string>{folder + "/DPInstx86.exe"}, folder,
                                                     Environment{{"WIN_PROCESS_WORLD", value}}));
        ASSERT_TRUE(waitForFile(folder + "/started.flag"));
    }
    const std::vector<DWORD> ids = processList();
    EXPECT_TRUE(lists(ids, static_cast<DWORD>(children[0]->pid())));
    EXPECT_FALSE(lists(ids, static_cast<DWORD>(children[1]->pid())));
    EXPECT_FALSE(lists(ids, static_cast<DWORD>(children[2]->pid())));
    EXPECT_FALSE(lists(ids, GetCurrentProcessId()));
    writeFile(dir / "stop.flag", "");
    for (const auto& child : children) EXPECT_TRUE(child->wait().has_value());
}

TEST(EnumProcesses, StartsWithTheEndedProcessesAskedFor) {
    ScopedVariable setting("WIN_ENDED_PROCESSES", "1100");
    const std::vector<DWORD> ids = processList();
    ASSERT_GT(ids.size(), 1100u);
    EXPECT_TRUE(lists(ids, GetCurrentProcessId()));
    EXPECT_EQ(std::find(ids.begin(), ids.end(), 0u), ids.end());
    for (const DWORD ended : {ids.front(), ids[1099]}) {
        EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ended), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    // A buffer the ended ones fill holds nothing else.
    EXPECT_EQ(processList(1100), std::vector<DWORD>(ids.begin(), ids.begin() + 1100));
}
#endif

constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

std::u16string baseNameOf(HANDLE process) {
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process, &module, sizeof module, &needed)) return u"<no modules>";
    // The main module comes first; Windows lists the system's libraries
    // after it, the stand-in only the main module.
    EXPECT_GE(needed, sizeof module);
    WCHAR name[260];
    const DWORD length = GetModuleBaseNameW(process, module, name, 260);
    return std::u16string(utf16(name), length);
}

TEST(OpenProcess, OpensOnlyProcessesThatExist) {
    HANDLE self = OpenProcess(kQueryAndRead, FALSE, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    EXPECT_TRUE(CloseHandle(self));
    EXPECT_EQ(OpenProcess(kQueryAndRead, FALSE, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // Above the largest PID Linux gives out; beyond pid_t, where -1 would
    // stand for every process.
    for (const DWORD beyond : {0x7FFFFFF0u, 0x80000004u, 0xFFFFFFFFu}) {
        EXPECT_EQ(OpenProcess(kQueryAndRead, FALSE, beyond), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, beyond), nullptr);
    }
}

TEST(GetModuleBaseNameW, GivesTheFileNameOfTheMainExecutable) {
    TempDir dir;
    putInstaller(dir, "until stop.flag\nstarted started.flag\n");
    Process child({dir / "DPInstx86.exe"}, dir.path());
    ASSERT_TRUE(waitForFile(dir / "started.flag"));
    STAND_IN_COUNT(const std::size_t handlesBefore = winplatform::openHandleCount());
    HANDLE process = OpenProcess(kQueryAndRead, FALSE, static_cast<DWORD>(child.pid()));
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(baseNameOf(process), u"DPInstx86.exe");
    WCHAR name[260];
    EXPECT_EQ(GetModuleBaseNameW(process, nullptr, name, 260), 13u);  // null: the main module
    EXPECT_EQ(std::u16string(utf16(name)), u"DPInstx86.exe");
    EXPECT_TRUE(CloseHandle(process));
    STAND_IN_COUNT(EXPECT_EQ(winplatform::openHandleCount(), handlesBefore));
    writeFile(dir / "stop.flag", "");
    EXPECT_TRUE(child.wait().has_value());
}

TEST(GetModuleBaseNameW, CutsTheNameToTheBuffer) {
    HANDLE self = OpenProcess(kQueryAndRead, FALSE, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    WCHAR name[5] = {u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(GetModuleBaseNameW(self, nullptr, name, 4), 4u) << "the buffer filled, with no terminator";
    // drvwatch_platform_tests; wine writes its terminator past the buffer.
    EXPECT_EQ(std::u16string(utf16(name), 4), u"drvw");
    EXPECT_EQ(GetModuleBaseNameW(self, nullptr, name, 0), 0u);
    CloseHandle(self);
}

#if !defined(_WIN32)  // Windows refuses to delete a program while it runs.
TEST(GetModuleBaseNameW, KeepsTheNameOfAnExecutableDeletedWhileItRuns) {
    TempDir dir;
    putInstaller(dir, "until stop.flag\nstarted started.flag\n");
    Process child({dir / "DPInstx86.exe"}, dir.path());
    ASSERT_TRUE(waitForFile(dir / "started.flag"));
    ASSERT_EQ(::unlink((dir / "DPInstx86.exe").c_str()), 0);
    HANDLE process = OpenProcess(kQueryAndRead, FALSE, static_cast<DWORD>(child.pid()));
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(baseNameOf(process), u"DPInstx86.exe");
    CloseHandle(process);
    writeFile(dir / "stop.flag", "");
    EXPECT_TRUE(child.wait().has_value());
}
#endif

TEST(EnumProcessModules, FailsOnceTheProcessIsGone) {
    TempDir dir;
    putInstaller(dir, "until stop.flag\nstarted started.flag\n");
    Process child({dir / "DPInstx86.exe"}, dir.path());
    ASSERT_TRUE(waitForFile(dir / "started.flag"));
    HANDLE process = OpenProcess(kQueryAndRead, FALSE, static_cast<DWORD>(child.pid()));
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(baseNameOf(process), u"DPInstx86.exe");
    writeFile(dir / "stop.flag", "");
    EXPECT_TRUE(child.wait().has_value());
#if !defined(_WIN32)
    // Past the moment in which the stand-in's handle relies on its open.
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * winplatform::kProcessFoundRunningMs));
#endif
    EXPECT_EQ(baseNameOf(process), u"<no modules>");
    // The stand-in answers ERROR_PARTIAL_COPY, as Windows does for memory
    // it cannot read; wine ERROR_ACCESS_DENIED.
    EXPECT_EQ(GetLastError(), kOnWindows ? ERROR_ACCESS_DENIED : 299u);
    EXPECT_TRUE(CloseHandle(process));
    // On Windows the harness's own handle keeps the ended process's object,
    // so it can still be opened; a Linux process once reaped is gone.
    if (!kOnWindows) {
        EXPECT_EQ(OpenProcess(kQueryAndRead, FALSE, static_cast<DWORD>(child.pid())), nullptr);
    }
}

#if !defined(_WIN32)  // A process that has ended but is not reaped is Linux's own.
TEST(EnumProcessModules, FindsNoModulesInAProcessThatHasEndedButIsNotReaped) {
    TempDir dir;
    putInstaller(dir, "run_ms 0\n");
    Process child({dir / "DPInstx86.exe"}, dir.path());
    // Waits for the end but leaves the process to be reaped.
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child.pid()), &info, WEXITED | WNOWAIT), 0);
    HANDLE process = OpenProcess(kQueryAndRead, FALSE, static_cast<DWORD>(child.pid()));
    ASSERT_NE(process, nullptr) << "a process not yet reaped still exists";
    EXPECT_EQ(baseNameOf(process), u"<no modules>");
    EXPECT_EQ(GetLastError(), 299u);
    CloseHandle(process);
    EXPECT_TRUE(child.wait().has_value());
}
#endif

TEST(EnumProcessModules, NeedsTheRightsToQueryAndRead) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
    ASSERT_NE(process, nullptr);
    HMODULE module = nullptr;
    DWORD needed = 0;
    EXPECT_FALSE(EnumProcessModules(process, &module, sizeof module, &needed));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    WCHAR name[260];
    EXPECT_EQ(GetModuleBaseNameW(process, nullptr, name, 260), 0u);
    CloseHandle(process);
}

TEST(EnumProcessModules, RefusesAHandleThatIsNotAProcess) {
    HMODULE module = nullptr;
    DWORD needed = 0;
    EXPECT_FALSE(EnumProcessModules(reinterpret_cast<HANDLE>(0x1234), &module, sizeof module, &needed));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HANDLE self = OpenProcess(kQueryAndRead, FALSE, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    CloseHandle(self);
    EXPECT_FALSE(EnumProcessModules(self, &module, sizeof module, &needed));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace drvwatch_test
