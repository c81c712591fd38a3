// The prompt's lines at a terminal: line editing and history (the arrow
// keys, Ctrl-R) by libedit on Linux; a console's own on Windows.
#pragma once

#include "runner.h"

#include <memory>

namespace fmhost {

// The line source for a person at the terminal on standard input.
std::unique_ptr<LineSource> terminalLines();

// Whether standard input is a terminal (a console on Windows).
bool standardInputIsTerminal();

}  // namespace fmhost
