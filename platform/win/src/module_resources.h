#pragma once

#include "winplatform/types.h"

#include <span>

namespace winplatform {

// The compiled resource file a module carries; empty if it carries none.
// A null module means the main program.
std::span<const BYTE> moduleResourceFile(HMODULE module);

}  // namespace winplatform
