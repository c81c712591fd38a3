#include <psapi.h>

#include "handle_table.h"
#include "winplatform/diagnostics.h"
#include "winplatform/errors.h"
#include "winplatform/system.h"

#include "platform/utf.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace winplatform {
namespace {

inline constexpr DWORD ERROR_PARTIAL_COPY = 299;

// The one module handle this platform gives out: the main executable's.
// Its value is the classic image base of a Windows program.
HMODULE mainModule() { return reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x400000)); }

// /proc, held open for the life of the program: a poll reads the entry of
// every process of the machine, and a name relative to it spares the walk
// from the root each time.
int procFolder() {
    static const int folder = ::open("/proc", O_PATH | O_DIRECTORY | O_CLOEXEC);
    return folder;
}

enum class ExeStatus { Readable, Denied, Missing };

// The file name of a process's executable as the kernel records it. A
// process whose file was deleted while it runs is shown with " (deleted)"
// after the path; the name it was started as is the part before. One
// readlink for the common case: the answer also tells whether the process
// exists (EACCES: it does, but belongs to another user).
ExeStatus executableNameOf(DWORD processId, std::string* name) {
    char link[32];
    const auto written = std::to_chars(link, link + sizeof link - 5, processId);
    std::memcpy(written.ptr, "/exe", 5);
    char stack[512];
    std::string heap;
    char* target = stack;
    std::size_t room = sizeof stack;
    ssize_t length = 0;
    for (;;) {
        length = ::readlinkat(procFolder(), link, target, room);
        if (length < 0) return errno == EACCES || errno == EPERM ? ExeStatus::Denied : ExeStatus::Missing;
        if (static_cast<std::size_t>(length) < room) break;
        heap.resize(room * 2);
        target = heap.data();
        room = heap.size();
    }
    std::string_view path(target, static_cast<std::size_t>(length));
    constexpr std::string_view deleted = " (deleted)";
    if (path.size() > deleted.size() && path.ends_with(deleted)) {
        const std::string literal(path);
        struct stat info {};
        if (::lstat(literal.c_str(), &info) != 0) path.remove_suffix(deleted.size());
    }
    const std::size_t slash = path.rfind('/');
    if (name != nullptr) name->assign(slash == std::string_view::npos ? path : path.substr(slash + 1));
    return ExeStatus::Readable;
}

// An ID beyond pid_t's range would name a process group to kill().
bool exists(DWORD processId) {
    if (processId > static_cast<DWORD>(std::numeric_limits<pid_t>::max())) return false;
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

using Moment = std::chrono::steady_clock::time_point;

// How long the open's finding that the process runs is taken as it stands.
// The calls that follow an open at once (list the modules, read the name)
// need not ask again, which spares a poll over every process of a machine
// two system calls per process; a handle kept across a wait sees that its
// process ended.
constexpr std::chrono::milliseconds kOpenFindingHolds{kProcessFoundRunningMs};

}  // namespace

namespace processes {

// What a handle holds: the process's ID and the name of its executable,
// read once when the process is opened (a Windows process keeps its main
// module for life). A process that has ended (one waiting to be reaped
// too) has no executable to read, so its modules cannot be listed; nor can
// they once its ID is free. An ID taken by a new process while a handle
// stays open is not noticed, which on Linux takes a full turn of the PID
// range.
// Not in an unnamed namespace: objects of this kind made by another copy of
// this library (process_state.h) are cast to it, which needs a type of the
// same name in every copy.
class ProcessObject : public HandleObject {
public:
    static constexpr HandleKind kKind = HandleKind::Process;
    // Nothing for an ID that no process has.
    static std::unique_ptr<ProcessObject> open(DWORD processId, DWORD access) {
        auto object = std::unique_ptr<ProcessObject>(new ProcessObject(processId, access));
        if ((access & PROCESS_VM_READ) != 0) {
            object->executableStatus_ = executableNameOf(processId, &object->executable_);
            // Readable or denied, the process has an entry in /proc, so it exists.
            if (object->executableStatus_ != ExeStatus::Missing) return object;
        }
        // No executable: a process that has ended but is not yet reaped
        // still exists, one that is gone does not.
        if (!exists(processId)) return nullptr;
        return object;
    }

    bool grants(DWORD rights) const { return (access_ & rights) == rights; }
    bool running() const {
        return std::chrono::steady_clock::now() - openedAt_ < kOpenFindingHolds || exists(processId_);
    }
    ExeStatus executableStatus() const { return executableStatus_; }
    const std::string& executable() const { return executable_; }

private:
    ProcessObject(DWORD processId, DWORD access)
        : HandleObject(kKind),
          processId_(processId), access_(access), openedAt_(std::chrono::steady_clock::now()) {}

    DWORD processId_;
    DWORD access_;
    Moment openedAt_;
    ExeStatus executableStatus_ = ExeStatus::Missing;
    std::string executable_;
};

}  // namespace processes

using processes::ProcessObject;

namespace {

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
    if (object->executableStatus() != ExeStatus::Readable || !object->running()) {
        SetLastError(ERROR_PARTIAL_COPY);
        return nullptr;
    }
    return object;
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
    const std::u16string name = platform::utf8ToUtf16(opened->executable());
    // As on Windows, a name cut to the buffer fills it whole, with no
    // terminator.
    const std::size_t copied = std::min<std::size_t>(name.size(), size);
    std::memcpy(baseName, name.data(), copied * sizeof(WCHAR));
    if (copied < size) baseName[copied] = 0;
    return static_cast<DWORD>(copied);
}
