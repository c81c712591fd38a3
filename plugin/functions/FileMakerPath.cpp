#include "FileMakerPath.h"

#include <platform/ascii_case.h>

#include <array>

namespace zera {
namespace {

bool isAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool isSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

bool isDrivePath(std::u16string_view path) {
    return path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == u':' && isSeparator(path[2]);
}

// "/C:/…" or "/C:\…": a drive path behind FileMaker's leading slash.
bool isSlashedDrivePath(std::u16string_view path) { return !path.empty() && path[0] == u'/' && isDrivePath(path.substr(1)); }

}  // namespace

std::u16string nativePath(std::u16string_view path) {
    // Container references as FileMaker writes them (see docs/compatibility.md).
    constexpr std::array<std::u16string_view, 3> kPrefixes = {u"filewin:", u"filelinux:", u"file:"};
    for (const std::u16string_view prefix : kPrefixes) {
        if (path.size() <= prefix.size() || !platform::equalsIgnoringAsciiCase(path.substr(0, prefix.size()), prefix)) continue;
        // Only a whole path: a reference relative to the solution's own
        // folder has no meaning here, and stays as it is.
        const std::u16string_view rest = path.substr(prefix.size());
        if (rest[0] == u'/' || isDrivePath(rest)) path = rest;
        break;
    }
    if (isSlashedDrivePath(path)) path.remove_prefix(1);
    return std::u16string(path);
}

}  // namespace zera
