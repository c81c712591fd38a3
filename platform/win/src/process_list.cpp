// EnumProcesses: the processes of the system, read from /proc.
//
// Two settings of the environment shape the list, so that a program that
// watches processes can be run in a world of its own:
//   WIN_PROCESS_WORLD  when set, only the processes started with the same
//                      value in their environment are listed, as if they
//                      were the only ones on the machine;
//   WIN_ENDED_PROCESSES=N  the list starts with N IDs of processes that had
//                      ended by the time anyone opens them, as on a busy
//                      machine whose processes come and go.
#include <psapi.h>

#include "winplatform/errors.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

// Beyond the largest process ID Linux gives out (2^22), and a multiple of
// four as Windows' IDs are.
constexpr DWORD kFirstEndedId = 0x40000000u;
constexpr DWORD kMostEndedIds = 1u << 20;

bool isProcessId(const char* name, DWORD* processId) {
    const char* end = name + std::strlen(name);
    if (name == end || *name == '0') return false;
    const auto [stop, error] = std::from_chars(name, end, *processId);
    return error == std::errc() && stop == end;
}

DWORD endedProcessCount() {
    const char* text = std::getenv("WIN_ENDED_PROCESSES");
    DWORD count = 0;
    if (text == nullptr || std::from_chars(text, text + std::strlen(text), count).ec != std::errc()) return 0;
    return count < kMostEndedIds ? count : kMostEndedIds;
}

// The environment a process was started with, entries separated by NULs;
// empty when it cannot be read (a process of another user, or one that
// has gone).
std::string startingEnvironmentOf(const char* processId) {
    const std::string path = std::string("/proc/") + processId + "/environ";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    std::string content;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

class World {
public:
    World() {
        const char* value = std::getenv("WIN_PROCESS_WORLD");
        if (value != nullptr && *value != '\0') entry_ = std::string(1, '\0') + "WIN_PROCESS_WORLD=" + value + '\0';
    }

    bool holds(const char* processId) const {
        if (entry_.empty()) return true;
        const std::string environment = '\0' + startingEnvironmentOf(processId) + '\0';
        return environment.find(entry_) != std::string::npos;
    }

private:
    std::string entry_;
};

}  // namespace

WINPLATFORM_API BOOL WINAPI EnumProcesses(DWORD* processIds, DWORD bytes, DWORD* bytesReturned) {
    if (bytesReturned == nullptr || (processIds == nullptr && bytes > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    struct CloseDir {
        void operator()(DIR* folder) const { ::closedir(folder); }
    };
    const std::unique_ptr<DIR, CloseDir> proc(::opendir("/proc"));
    if (!proc) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const DWORD capacity = bytes / static_cast<DWORD>(sizeof(DWORD));
    DWORD count = 0;
    for (const DWORD ended = endedProcessCount(); count < capacity && count < ended; ++count) {
        processIds[count] = kFirstEndedId + 4 * count;
    }
    const World world;
    while (count < capacity) {
        const dirent* entry = ::readdir(proc.get());
        if (entry == nullptr) break;
        DWORD processId = 0;
        if (isProcessId(entry->d_name, &processId) && world.holds(entry->d_name)) processIds[count++] = processId;
    }
    *bytesReturned = count * static_cast<DWORD>(sizeof(DWORD));
    return TRUE;
}
