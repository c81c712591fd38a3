// Whole-text comparison that disregards the case of ASCII letters only, as
// the host's keywords, the shell's verbs and function names are compared:
// no locale takes part, so "I" and "i" match on every system and nothing
// else folds.
#pragma once

#include <string_view>

namespace platform {

template <typename Char>
constexpr Char asciiLower(Char c) {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr bool equalsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

inline bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return equalsIgnoringAsciiCase<char16_t>(a, b);
}
inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return equalsIgnoringAsciiCase<char>(a, b);
}

}  // namespace platform
