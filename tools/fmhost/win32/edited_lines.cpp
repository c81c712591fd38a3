#include "edited_lines.h"

#include <windows.h>

#include <iostream>

namespace fmhost {

// A Windows console edits its lines itself (the arrow keys, F7 for the
// history); Ctrl-Z and Enter end the input.
std::unique_ptr<LineSource> terminalLines() { return std::make_unique<StreamLines>(std::cin, &std::cout); }

// A console answers GetConsoleMode; a pipe or a file does not.
bool standardInputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != FALSE;
}

}  // namespace fmhost
