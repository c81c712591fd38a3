// A look at a shared library file before it is loaded: the loader maps the
// segments that the file's headers name, and touching a page that the file
// does not hold ends the process with SIGBUS, so a damaged file must be
// refused before it reaches the loader.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace fmhost {

// Why the file cannot be loaded as a shared library, or nothing when its
// headers fit in it (the loader's own checks come after). A file of
// another kind or for another machine is left to the loader, whose message
// names the fault.
std::optional<std::string> libraryFileFault(const std::string& path);

// What both systems' checks measure a file's headers with.
namespace file_bounds {

// Whether [offset, offset + size) lies within a file of the given size,
// without overflow.
inline bool within(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize) {
    return offset <= fileSize && size <= fileSize - offset;
}

// The fault of a file shorter than its headers say it is.
inline std::string cutShort(std::uint64_t fileSize, std::uint64_t needed) {
    return "the file is damaged or cut short: it holds " + std::to_string(fileSize) + " bytes, its headers name " +
           std::to_string(needed);
}

}  // namespace file_bounds

}  // namespace fmhost
