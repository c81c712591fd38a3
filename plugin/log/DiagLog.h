// The always-on trace of the capture path, appended to "c:\PenviraLog.txt".
// Its failures never reach the caller. The file's place and the entries'
// form are kept for those who read it (see docs/compatibility.md).
#pragma once

#include <string>

namespace zera {

// Appends one numbered entry; the text is written literally, never used as
// a format.
void WriteDiagLog(const std::u16string& text);

}  // namespace zera
