#include "winplatform/crt.h"

#include "file_names.h"
#include "winplatform/errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

struct TextStream {
    FILE* file;
};

// Writes with line feeds widened to carriage return plus line feed.
ssize_t writeText(void* cookie, const char* bytes, size_t size) {
    FILE* file = static_cast<TextStream*>(cookie)->file;
    std::size_t start = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != '\n') continue;
        if (i > start && std::fwrite(bytes + start, 1, i - start, file) != i - start) return -1;
        if (std::fwrite("\r\n", 1, 2, file) != 2) return -1;
        start = i + 1;
    }
    if (size > start && std::fwrite(bytes + start, 1, size - start, file) != size - start) return -1;
    return std::fflush(file) == 0 ? static_cast<ssize_t>(size) : -1;
}

ssize_t readText(void* cookie, char* bytes, size_t size) {
    FILE* file = static_cast<TextStream*>(cookie)->file;
    const std::size_t n = std::fread(bytes, 1, size, file);
    return std::ferror(file) ? -1 : static_cast<ssize_t>(n);
}

int closeText(void* cookie) {
    auto* stream = static_cast<TextStream*>(cookie);
    const int result = std::fclose(stream->file);
    delete stream;
    return result;
}

// fopen, but never blocking on a named pipe: a pipe that no one reads (or
// writes) would hold the open, or a later write, for ever. Pipes and
// sockets are refused as Windows has no such files, and a folder as the
// Windows runtime refuses it (EACCES).
FILE* openFile(const std::string& path, const std::string& mode) {
    int flags = mode.find('+') != std::string::npos ? O_RDWR : mode[0] == 'r' ? O_RDONLY : O_WRONLY;
    if (mode[0] == 'w') flags |= O_CREAT | O_TRUNC;
    if (mode[0] == 'a') flags |= O_CREAT | O_APPEND;
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
        if (errno == ENXIO || errno == EISDIR) errno = EACCES;
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        errno = EACCES;
        return nullptr;
    }
    FILE* file = ::fdopen(fd, mode.c_str());
    if (file == nullptr) ::close(fd);
    return file;
}

}  // namespace

WINPLATFORM_API FILE* _wfopen(const WCHAR* path, const WCHAR* mode) {
    if (path == nullptr || mode == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    std::u16string wideMode(mode);
    std::string hostMode;
    bool binary = false;
    for (char16_t c : wideMode) {
        if (c == u'r' || c == u'w' || c == u'a' || c == u'+') hostMode.push_back(static_cast<char>(c));
        else if (c == u'b') binary = true;
        else if (c != u't') {
            errno = EINVAL;
            return nullptr;
        }
    }
    if (hostMode.empty() || std::strchr("rwa", hostMode[0]) == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    DWORD refused = 0;
    const auto hostPath = winplatform::hostPathOfFile(std::u16string_view(path), &refused);
    if (!hostPath || hostPath->empty()) {
        // As the C runtime maps the system's errors: a name it refuses is an
        // invalid argument, a path it cannot reach a missing file.
        errno = hostPath || refused != ERROR_INVALID_NAME ? ENOENT : EINVAL;
        return nullptr;
    }
    FILE* file = openFile(*hostPath, hostMode);
    if (file == nullptr || binary) return file;

    auto* stream = new TextStream{file};
    cookie_io_functions_t functions{};
    functions.read = &readText;
    functions.write = &writeText;
    functions.close = &closeText;
    FILE* text = fopencookie(stream, hostMode.c_str(), functions);
    if (text == nullptr) {
        std::fclose(file);
        delete stream;
    }
    return text;
}
