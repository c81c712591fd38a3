#pragma once

#include "res_file.h"
#include "winplatform/types.h"

#include <span>
#include <vector>

namespace winplatform {

// The compiled resource file a module carries; empty if it carries none.
// A null module means the main program.
std::span<const BYTE> moduleResourceFile(HMODULE module);

// A module's resource file and its entries, in file order.
struct ResourceDirectory {
    std::span<const BYTE> file;
    std::vector<ResourceEntry> entries;
};

// The directory of the module's resources, found and parsed the first time
// it is asked for and kept while that module stays loaded (a module loaded
// later under the same handle gets its own). Empty for a module without
// resources.
const ResourceDirectory& moduleResources(HMODULE module);

}  // namespace winplatform
