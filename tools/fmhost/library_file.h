// A look at a shared library file before it is loaded: the loader maps the
// segments that the file's headers name, and touching a page that the file
// does not hold ends the process with SIGBUS, so a damaged file must be
// refused before it reaches the loader.
#pragma once

#include <optional>
#include <string>

namespace fmhost {

// Why the file cannot be loaded as a shared library, or nothing when its
// headers fit in it (the loader's own checks come after). A file of
// another kind or for another machine is left to the loader, whose message
// names the fault.
std::optional<std::string> libraryFileFault(const std::string& path);

}  // namespace fmhost
