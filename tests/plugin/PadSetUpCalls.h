// The calls with which a capture sets the pad up (tablet mode 11), as both
// the recording control and the real control's journal write them.
#pragma once

#include <string>
#include <vector>

inline const std::vector<std::string> kPadSetUpCalls = {
    "method DisplaySetup 0 240 64 100 0 1900 700",
    "put PadXFrom 400",
    "put PadXTo 2400",
    "put PadYFrom 350",
    "put PadYTo 1050",
    "put InkSpanX 2000",
    "put InkSpanY 700",
    "method InkAreaSet 0 22 240 40",
    "method DisplayInkArea 1 0 22 240 40",
    "method DisplayClearArea 0 0 0 240 64",
    "method ClearInk"};
