#include "ErrorCodes.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace zera {
namespace {

struct CodeRow {
    std::int32_t code;
    std::string_view message;
};

// Sorted by code, so a lookup is a binary search. The rows of the other
// areas that share this code space are not produced by this plug-in and are
// left out; their codes read as undefined here. The messages are kept to
// the letter (see docs/compatibility.md).
constexpr std::array kCodeTable = {
    CodeRow{-13002, "Ensure that the SigPlus software is properly installed."},
    CodeRow{-13001, "Unable to save signature image to file."},
    CodeRow{-13000, "Unknown file or access denied."},
    CodeRow{-999, "COM Exception"},
    CodeRow{-998, "Unknown Exception"},
    CodeRow{-400, "System Error"},
    CodeRow{-302, "The specified folder cannot be accessed"},
    CodeRow{-301, "The specified file cannot be found"},
    CodeRow{-300, "The specified file cannot be found"},
    CodeRow{-200, "Library failed to load"},
    CodeRow{-4, "Invalid Parameter value(s)"},
    CodeRow{-3, "Invalid Number of Parameters"},
    CodeRow{0, "SUCCESS"},
};

static_assert(std::is_sorted(kCodeTable.begin(), kCodeTable.end(),
                             [](const CodeRow& a, const CodeRow& b) { return a.code < b.code; }));

}  // namespace

std::string_view errorMessage(std::int32_t code) {
    const auto it = std::lower_bound(kCodeTable.begin(), kCodeTable.end(), code,
                                     [](const CodeRow& row, std::int32_t wanted) { return row.code < wanted; });
    if (it != kCodeTable.end() && it->code == code) return it->message;
    return "Undefined error. ";  // with its trailing blank (see docs/compatibility.md)
}

}  // namespace zera
