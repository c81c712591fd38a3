#include "DiagLog.h"

#include <windows.h>
#include <platform/wide_text.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace zera {
namespace {

// Where the log's readers look for it (see docs/compatibility.md).
constexpr char16_t kLogPath[] = u"c:\\PenviraLog.txt";

// Numbers the entries of this load; the first one written also writes the
// separator. Heads and separator are kept byte for byte (see
// docs/compatibility.md).
std::int32_t entryCounter = 0;

// One byte per character; the text ends at the first character above 255.
std::vector<char> narrow(const std::u16string& text) {
    std::vector<char> bytes(text.size() + 1, '\0');
    std::size_t length = 0;
    for (char16_t c : text) {
        if (c > 0xFF) break;
        bytes[length++] = static_cast<char>(static_cast<unsigned char>(c));
    }
    bytes.resize(length);
    return bytes;
}

}  // namespace

void WriteDiagLog(const std::u16string& text) {
    FILE* file = _wfopen(platform::wide(kLogPath), platform::wide(u"at"));
    if (file == nullptr) return;
    const std::vector<char> bytes = narrow(text);
    if (entryCounter == 0) {
        std::fprintf(file, "\n\n####################################################\n\n%d)\t", entryCounter);
    } else {
        std::fprintf(file, "%d)\t", entryCounter);
    }
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    ++entryCounter;
}

}  // namespace zera
