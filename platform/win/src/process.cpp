#include <psapi.h>

#include "handle_table.h"
#include "winplatform/errors.h"
#include "winplatform/system.h"

#include "platform/utf.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace winplatform {
namespace {

inline constexpr DWORD ERROR_PARTIAL_COPY = 299;

// The one module handle this platform gives out: the main executable's.
// Its value is the classic image base of a Windows program.
HMODULE mainModule() { return reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x400000)); }

std::string procPath(DWORD processId, const char* entry) {
    return "/proc/" + std::to_string(processId) + "/" + entry;
}

enum class ExeStatus { Readable, Denied, Missing };

// The path of a process's executable as the kernel records it. A process
// whose file was deleted while it runs is shown with " (deleted)" after the
// name; the name it was started as is the part before.
ExeStatus executableOf(DWORD processId, std::string* path) {
    const std::string link = procPath(processId, "exe");
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
        if (length < 0) return errno == EACCES || errno == EPERM ? ExeStatus::Denied : ExeStatus::Missing;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);
    }
    constexpr std::string_view deleted = " (deleted)";
    if (target.size() > deleted.size() && target.ends_with(deleted)) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0) target.resize(target.size() - deleted.size());
    }
    if (path != nullptr) *path = std::move(target);
    return ExeStatus::Readable;
}

bool exists(DWORD processId) {
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

// What a handle holds: the process's ID and its executable, read once when
// the process is opened (a Windows process keeps its main module for life).
// A process that has ended (one waiting to be reaped too) has no executable
// to read, so its modules cannot be listed; nor can they once its ID is
// free. Reading the executable once keeps a poll over every process of a
// machine cheap; the price is that an ID taken by a new process while a
// handle stays open is not noticed, which on Linux takes a full turn of the
// PID range.
class ProcessObject : public HandleObject {
public:
    // Nothing for an ID that no process has.
    static std::unique_ptr<ProcessObject> open(DWORD processId, DWORD access) {
        auto object = std::unique_ptr<ProcessObject>(new ProcessObject(processId, access));
        if ((access & PROCESS_VM_READ) != 0) {
            object->executableStatus_ = executableOf(processId, &object->executable_);
            if (object->executableStatus_ == ExeStatus::Readable) return object;
        }
        if (!exists(processId)) return nullptr;
        return object;
    }

    bool grants(DWORD rights) const { return (access_ & rights) == rights; }
    bool running() const { return exists(processId_); }
    ExeStatus executableStatus() const { return executableStatus_; }
    const std::string& executable() const { return executable_; }

private:
    ProcessObject(DWORD processId, DWORD access) : processId_(processId), access_(access) {}

    DWORD processId_;
    DWORD access_;
    ExeStatus executableStatus_ = ExeStatus::Missing;
    std::string executable_;
};

// The opened process behind a handle with the rights asked, if it still runs
// and has an executable; sets the last error otherwise.
ProcessObject* openedProcess(HANDLE process, DWORD rights) {
    auto* object = findHandleAs<ProcessObject>(process);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!object->grants(rights)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    if (!object->running() || object->executableStatus() != ExeStatus::Readable) {
        SetLastError(ERROR_PARTIAL_COPY);
        return nullptr;
    }
    return object;
}

bool isProcessId(const char* name, DWORD* processId) {
    if (*name == '\0') return false;
    unsigned long long value = 0;
    for (const char* c = name; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') return false;
        value = value * 10 + static_cast<unsigned long long>(*c - '0');
        if (value > 0xFFFFFFFFull) return false;
    }
    *processId = static_cast<DWORD>(value);
    return true;
}

}  // namespace
}  // namespace winplatform

WINPLATFORM_API DWORD WINAPI GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }

WINPLATFORM_API HANDLE WINAPI OpenProcess(DWORD desiredAccess, BOOL, DWORD processId) {
    using namespace winplatform;
    std::unique_ptr<ProcessObject> object =
        processId == 0 ? nullptr : ProcessObject::open(processId, desiredAccess);
    if (!object) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (object->executableStatus() == ExeStatus::Denied) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return addHandle(std::move(object));
}

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
    while (count < capacity) {
        const dirent* entry = ::readdir(proc.get());
        if (entry == nullptr) break;
        DWORD processId = 0;
        if (winplatform::isProcessId(entry->d_name, &processId)) processIds[count++] = processId;
    }
    *bytesReturned = count * static_cast<DWORD>(sizeof(DWORD));
    return TRUE;
}

WINPLATFORM_API BOOL WINAPI EnumProcessModules(HANDLE process, HMODULE* modules, DWORD bytes, DWORD* bytesNeeded) {
    using namespace winplatform;
    if (bytesNeeded == nullptr || (modules == nullptr && bytes > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (openedProcess(process, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ) == nullptr) return FALSE;
    if (bytes >= sizeof(HMODULE)) modules[0] = mainModule();
    *bytesNeeded = static_cast<DWORD>(sizeof(HMODULE));
    return TRUE;
}

WINPLATFORM_API DWORD WINAPI GetModuleBaseNameW(HANDLE process, HMODULE module, LPWSTR baseName, DWORD size) {
    using namespace winplatform;
    if (baseName == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (module != nullptr && module != mainModule()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    const ProcessObject* opened = openedProcess(process, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
    if (opened == nullptr) return 0;
    const std::string& executable = opened->executable();
    const std::size_t slash = executable.rfind('/');
    const std::u16string name =
        platform::utf8ToUtf16(slash == std::string::npos ? executable : executable.substr(slash + 1));
    const std::size_t copied = std::min<std::size_t>(name.size(), size - 1);
    std::memcpy(baseName, name.data(), copied * sizeof(WCHAR));
    baseName[copied] = 0;
    return static_cast<DWORD>(copied);
}
