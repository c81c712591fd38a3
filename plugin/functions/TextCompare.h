#pragma once

#include <string_view>

namespace zera {

// Whole-string comparison that disregards the case of ASCII letters.
inline bool equalsIgnoringCase(std::u16string_view text, std::u16string_view word) {
    if (text.size() != word.size()) return false;
    auto upper = [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upper(text[i]) != upper(word[i])) return false;
    }
    return true;
}

}  // namespace zera
