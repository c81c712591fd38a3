// The one seam between this code's UTF-16 text and the Win32 wide type.
// Our code holds UTF-16 as char16_t; Win32's WCHAR is wchar_t on Windows and
// char16_t in the Linux platform library. Both are 16-bit code units of the
// same text, so a pointer is only renamed, never converted unit by unit.
#pragma once

#if defined(_WIN32)
using WideUnit = wchar_t;
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");
#else
using WideUnit = char16_t;
#endif

namespace platform {

inline const WideUnit* wide(const char16_t* text) { return reinterpret_cast<const WideUnit*>(text); }
inline WideUnit* wide(char16_t* text) { return reinterpret_cast<WideUnit*>(text); }
inline const char16_t* utf16(const WideUnit* text) { return reinterpret_cast<const char16_t*>(text); }
inline char16_t* utf16(WideUnit* text) { return reinterpret_cast<char16_t*>(text); }

}  // namespace platform
