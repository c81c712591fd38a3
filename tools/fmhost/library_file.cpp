#include "library_file.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace fmhost {
namespace {

constexpr unsigned char kNativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;

// Closes the descriptor on every way out.
class OpenFile {
public:
    explicit OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

    bool readAt(void* buffer, std::size_t size, std::uint64_t offset) const {
        return ::pread(fd_, buffer, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
    }

private:
    int fd_;
};

using file_bounds::cutShort;
using file_bounds::within;

}  // namespace

std::optional<std::string> libraryFileFault(const std::string& path) {
    const OpenFile file(path);
    struct stat info {};
    // A missing or unreadable file is the loader's to report.
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0) return std::nullopt;
    if (!S_ISREG(info.st_mode)) return std::string("not a regular file");
    const auto fileSize = static_cast<std::uint64_t>(info.st_size);

    ElfW(Ehdr) header{};
    if (!file.readAt(&header, sizeof header, 0) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != kNativeClass) {
        return std::nullopt;
    }
    if (header.e_phentsize != sizeof(ElfW(Phdr))) return std::string("the file's program headers are damaged");
    const std::uint64_t tableSize = std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr));
    if (!within(header.e_phoff, tableSize, fileSize)) return cutShort(fileSize, header.e_phoff + tableSize);

    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    if (!segments.empty() && !file.readAt(segments.data(), tableSize, header.e_phoff)) {
        return std::string("the file's program headers cannot be read");
    }
    for (const ElfW(Phdr)& segment : segments) {
        if (!within(segment.p_offset, segment.p_filesz, fileSize)) {
            return cutShort(fileSize, segment.p_offset + segment.p_filesz);
        }
    }
    return std::nullopt;
}

}  // namespace fmhost
