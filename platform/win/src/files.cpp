#include "winplatform/files.h"

#include "file_names.h"
#include "handle_table.h"
#include "process_state.h"
#include "winplatform/diagnostics.h"
#include "winplatform/errors.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace {

std::atomic<std::size_t>& openFiles() {
    static std::atomic<std::size_t>& count =
        winplatform::detail::processShared<std::atomic<std::size_t>>("kernel.open_files");
    return count;
}

}  // namespace

namespace winplatform::files {

// Not in an unnamed namespace: objects of this kind made by another copy of
// this library (process_state.h) are cast to it, which needs a type of the
// same name in every copy.
class FileHandle : public winplatform::HandleObject {
public:
    static constexpr winplatform::HandleKind kKind = winplatform::HandleKind::File;
    FileHandle(int fd, DWORD access) : HandleObject(kKind), fd_(fd), access_(access) { ++openFiles(); }
    ~FileHandle() override {
        ::close(fd_);
        --openFiles();
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return fd_; }
    bool canWrite() const { return (access_ & GENERIC_WRITE) != 0; }
    bool canRead() const { return (access_ & GENERIC_READ) != 0; }

private:
    int fd_;
    DWORD access_;
};

}  // namespace winplatform::files

namespace {

using winplatform::files::FileHandle;

DWORD errorFromErrno(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ENXIO:  // a named pipe that no one reads
        case ENODEV: return ERROR_ACCESS_DENIED;
        case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
        case ENOSPC: return ERROR_DISK_FULL;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        case EWOULDBLOCK: return ERROR_SHARING_VIOLATION;
        default: return ERROR_WRITE_FAULT;
    }
}

std::size_t lengthOf(LPCWSTR path) {
    std::size_t n = 0;
    while (path[n] != 0) ++n;
    return n;
}

// The folder part of a Linux path exists when its parent can be examined;
// Windows tells a missing folder apart from a missing file.
DWORD notFoundError(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) return ERROR_FILE_NOT_FOUND;
    struct stat info {};
    return ::stat(path.substr(0, slash).c_str(), &info) == 0 ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

}  // namespace

namespace winplatform {
std::size_t openFileCount() { return openFiles().load(); }
}  // namespace winplatform

WINPLATFORM_API HANDLE WINAPI CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES*,
                                          DWORD creation, DWORD, HANDLE) {
    if (path == nullptr || path[0] == 0) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (lengthOf(path) >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }
    DWORD refused = ERROR_SUCCESS;
    const auto hostPath = winplatform::hostPathOfFile(std::u16string_view(path, lengthOf(path)), &refused);
    if (!hostPath) {
        SetLastError(refused);
        return INVALID_HANDLE_VALUE;
    }

    // Never blocking: a named pipe with no one at its other end would hold
    // the open for ever. Pipes and sockets are refused below; Windows has
    // no such thing among its files.
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    const bool reading = (access & GENERIC_READ) != 0;
    const bool writing = (access & GENERIC_WRITE) != 0;
    flags |= reading && writing ? O_RDWR : writing ? O_WRONLY : O_RDONLY;
    bool truncate = false;
    switch (creation) {
        case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
        case CREATE_ALWAYS: flags |= O_CREAT; truncate = true; break;
        case OPEN_EXISTING: break;
        case OPEN_ALWAYS: flags |= O_CREAT; break;
        case TRUNCATE_EXISTING: truncate = true; break;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
    }

    // Open without truncating first: a file that another opener holds
    // without sharing must keep its content when this open is refused.
    const int fd = ::open(hostPath->c_str(), flags, 0666);
    if (fd < 0) {
        const int error = errno;
        SetLastError(error == ENOENT ? notFoundError(*hostPath) : errorFromErrno(error));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) ||
        (!S_ISREG(info.st_mode) && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    // Sharing between openers: no sharing takes the file exclusively.
    const int lock = (shareMode & (FILE_SHARE_READ | FILE_SHARE_WRITE)) == 0 ? LOCK_EX : LOCK_SH;
    if (::flock(fd, lock | LOCK_NB) != 0) {
        ::close(fd);
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    if (truncate && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        SetLastError(errorFromErrno(error));
        return INVALID_HANDLE_VALUE;
    }
    SetLastError(ERROR_SUCCESS);
    return winplatform::addHandle(std::make_unique<FileHandle>(fd, access));
}

WINPLATFORM_API BOOL WINAPI WriteFile(HANDLE file, LPCVOID bytes, DWORD count, DWORD* written, void*) {
    if (written != nullptr) *written = 0;
    auto* handle = winplatform::findHandleAs<FileHandle>(file);
    if (handle == nullptr || !handle->canWrite() || (bytes == nullptr && count > 0)) {
        SetLastError(handle == nullptr ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const auto* cursor = static_cast<const char*>(bytes);
    DWORD done = 0;
    while (done < count) {
        const ssize_t n = ::write(handle->fd(), cursor + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (written != nullptr) *written = done;
            SetLastError(errorFromErrno(errno));
            return FALSE;
        }
        done += static_cast<DWORD>(n);
    }
    if (written != nullptr) *written = done;
    return TRUE;
}

WINPLATFORM_API BOOL WINAPI ReadFile(HANDLE file, LPVOID bytes, DWORD count, DWORD* read, void*) {
    if (read != nullptr) *read = 0;
    auto* handle = winplatform::findHandleAs<FileHandle>(file);
    if (handle == nullptr || !handle->canRead() || (bytes == nullptr && count > 0)) {
        SetLastError(handle == nullptr ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED);
        return FALSE;
    }
    ssize_t n = 0;
    do {
        n = ::read(handle->fd(), bytes, count);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        SetLastError(errorFromErrno(errno));
        return FALSE;
    }
    if (read != nullptr) *read = static_cast<DWORD>(n);
    return TRUE;
}
