// The look at a DLL before it is loaded, on Windows: the loader maps the
// sections that the file's headers name, and a section that lies beyond
// the end of a damaged or cut-short file makes it fail in ways that do not
// name the fault, or map zeros where code should be.
#include "library_file.h"

#include "platform/utf.h"

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace fmhost {
namespace {

using file_bounds::cutShort;
using file_bounds::within;

template <typename T>
bool readAt(std::ifstream& file, T& out, std::uint64_t offset, std::size_t count = 1) {
    file.seekg(static_cast<std::streamoff>(offset));
    return static_cast<bool>(
        file.read(reinterpret_cast<char*>(&out), static_cast<std::streamsize>(sizeof(T) * count)));
}

}  // namespace

std::optional<std::string> libraryFileFault(const std::string& path) {
    std::error_code failed;
    const std::filesystem::path file(platform::utf8ToUtf16(path));
    if (!std::filesystem::exists(file, failed)) return std::nullopt;
    if (!std::filesystem::is_regular_file(file, failed)) return std::string("not a regular file");
    const std::uint64_t fileSize = std::filesystem::file_size(file, failed);
    std::ifstream in(file, std::ios::binary);
    // An unreadable file, or one of another kind, is the loader's to report.
    IMAGE_DOS_HEADER dos{};
    if (failed || !in || !readAt(in, dos, 0) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0) {
        return std::nullopt;
    }
    const auto headerAt = static_cast<std::uint64_t>(dos.e_lfanew);
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    if (!within(headerAt, sizeof signature + sizeof header, fileSize)) {
        return cutShort(fileSize, headerAt + sizeof signature + sizeof header);
    }
    if (!readAt(in, signature, headerAt) || signature != IMAGE_NT_SIGNATURE) return std::nullopt;
    if (!readAt(in, header, headerAt + sizeof signature)) return std::string("the file's headers cannot be read");

    const std::uint64_t tableAt = headerAt + sizeof signature + sizeof header + header.SizeOfOptionalHeader;
    const std::uint64_t tableSize = std::uint64_t{header.NumberOfSections} * sizeof(IMAGE_SECTION_HEADER);
    if (!within(tableAt, tableSize, fileSize)) return cutShort(fileSize, tableAt + tableSize);
    std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
    if (!sections.empty() && !readAt(in, sections[0], tableAt, sections.size())) {
        return std::string("the file's section headers cannot be read");
    }
    for (const IMAGE_SECTION_HEADER& section : sections) {
        if (!within(section.PointerToRawData, section.SizeOfRawData, fileSize)) {
            return cutShort(fileSize, std::uint64_t{section.PointerToRawData} + section.SizeOfRawData);
        }
    }
    return std::nullopt;
}

}  // namespace fmhost
