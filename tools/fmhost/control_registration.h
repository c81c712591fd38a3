// Registers the signature pad control for the run, as its installer does on
// a real machine: its library as the in-process server of its class.
#pragma once

#include "options.h"

#include <string>

namespace fmhost {

// Nothing to do with --no-control. Returns false, with a message, when the
// library cannot be registered.
bool registerControl(const Options& options, const std::string& programPath, std::string& error);

}  // namespace fmhost
