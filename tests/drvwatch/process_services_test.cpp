// The process services drvwatch calls, as the Linux platform library gives
// them: the list of processes, opening one, and its main module's name.
#include "harness.h"

#include <windows.h>
#include <psapi.h>

#include "winplatform/diagnostics.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <thread>

namespace drvwatch_test {
namespace {

void putInstaller(const TempDir& dir, const std::string& settings) {
    copyFile(FAKE_INSTALLER_PROGRAM, dir / "DPInstx86.exe");
    writeFile(dir / "DPInstx86.cfg", settings);
}

std::vector<DWORD> processList(DWORD capacity = 65536) {
    std::vector<DWORD> ids(capacity);
    DWORD bytes = 0;
    EXPECT_TRUE(EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes));
    ids.resize(bytes / sizeof(DWORD));
    return ids;
}

bool lists(const std::vector<DWORD>& ids, pid_t processId) {
    return std::find(ids.begin(), ids.end(), static_cast<DWORD>(processId)) != ids.end();
}

TEST(EnumProcesses, ListsTheRunningProcesses) {
    TempDir dir;
    putInstaller(dir, "until stop.flag\n");
    Process child({dir / "DPInstx86.exe"}, dir.path());
    const std::vector<DWORD> ids = processList();
    EXPECT_TRUE(lists(ids, ::getpid()));
    EXPECT_TRUE(lists(ids, child.pid()));
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
    EXPECT_TRUE(lists(ids, children[0]->pid()));
    EXPECT_FALSE(lists(ids, children[1]->pid()));
    EXPECT_FALSE(lists(ids, children[2]->pid()));
    EXPECT_FALSE(lists(ids, ::getpid()));
    writeFile(dir / "stop.flag", "");
    for (const auto& child : children) EXPECT_TRUE(child->wait().has_value());
}

TEST(EnumProcesses, StartsWithTheEndedProcessesAskedFor) {
    ScopedVariable setting("WIN_ENDED_PROCESSES", "1100");
    const std::vector<DWORD> ids = processList();
    ASSERT_GT(ids.size(), 1100u);
    EXPECT_TRUE(lists(ids, ::getpid()));
    EXPECT_EQ(std::find(ids.begin(), ids.end(), 0u), ids.end());
    for (const DWORD ended : {ids.front(), ids[1099]}) {
        EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ended), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    // A buffer the ended ones fill holds nothing else.
    EXPECT_EQ(processList(1100), std::vector<DWORD>(ids.begin(), ids.begin() + 1100));
}

constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

std::u16string baseNameOf(HANDLE process) {
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process, &module, sizeof module, &needed)) return u"<no modules>";
    EXPECT_EQ(needed, sizeof module);
    WCHAR name[260];
    const DWORD length = GetModuleBaseNameW(process, module, name, 260);
    return std::u16string(name, length);
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
    const std::size_t handlesBefore = winplatform::openHandleCount();
    HANDLE process = OpenProcess(kQueryAndRead, FALSE, static_cast<DWORD>(child.pid()));
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(baseNameOf(process), u"DPInstx86.exe");
    WCHAR name[260];
    EXPECT_EQ(GetModuleBaseNameW(process, nullptr, name, 260), 13u);  // null: the main module
    EXPECT_EQ(std::u16string(name), u"DPInstx86.exe");
    EXPECT_TRUE(CloseHandle(process));
    EXPECT_EQ(winplatform::openHandleCount(), handlesBefore);
    writeFile(dir / "stop.flag", "");
    EXPECT_TRUE(child.wait().has_value());
}

TEST(GetModuleBaseNameW, CutsTheNameToTheBuffer) {
    HANDLE self = OpenProcess(kQueryAndRead, FALSE, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    WCHAR name[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(GetModuleBaseNameW(self, nullptr, name, 4), 3u);
    EXPECT_EQ(std::u16string(name), u"drv");  // drvwatch_platform_tests
    EXPECT_EQ(GetModuleBaseNameW(self, nullptr, name, 0), 0u);
    CloseHandle(self);
}

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
    // Past the moment in which the handle relies on its open.
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * winplatform::kProcessFoundRunningMs));
    EXPECT_EQ(baseNameOf(process), u"<no modules>");
    EXPECT_EQ(GetLastError(), 299u);  // ERROR_PARTIAL_COPY
    EXPECT_TRUE(CloseHandle(process));
    EXPECT_EQ(OpenProcess(kQueryAndRead, FALSE, static_cast<DWORD>(child.pid())), nullptr);
}

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
