#include "winplatform/codepages.h"

#include "platform/utf.h"
#include "winplatform/errors.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

// Windows-1252 at 0x80..0x9F; 0 marks the five bytes it leaves undefined.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t decode1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        const char16_t mapped = kHighControls[byte - 0x80];
        return mapped != 0 ? mapped : static_cast<char16_t>(byte);
    }
    return static_cast<char16_t>(byte);
}

bool encode1252(char16_t unit, char* out) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        *out = static_cast<char>(unit);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == unit && unit != 0) {
            *out = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

bool isAnsi(UINT codePage) { return codePage == CP_ACP || codePage == CP_THREAD_ACP || codePage == CP_1252; }

// Copies a converted string into the caller's buffer with the usual rules:
// a size of 0 asks for the length; a buffer too small fails.
template <typename Unit>
int deliver(const std::basic_string<Unit>& converted, Unit* destination, int destinationSize) {
    const auto length = static_cast<int>(converted.size());
    if (destinationSize == 0) return length;
    if (destination == nullptr || destinationSize < length) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(destination, converted.data(), converted.size() * sizeof(Unit));
    return length;
}

}  // namespace

WINPLATFORM_API UINT WINAPI GetACP() { return CP_1252; }

WINPLATFORM_API int WINAPI MultiByteToWideChar(UINT codePage, DWORD, LPCSTR source, int sourceLength,
                                               LPWSTR destination, int destinationSize) {
    if (source == nullptr || sourceLength < -1 || destinationSize < 0 || (!isAnsi(codePage) && codePage != CP_UTF8)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t length =
        sourceLength == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(sourceLength);
    const std::string_view input(source, length);
    std::u16string converted;
    if (codePage == CP_UTF8) {
        converted = platform::utf8ToUtf16(input);
    } else {
        converted.reserve(length);
        for (char c : input) converted.push_back(decode1252(static_cast<unsigned char>(c)));
    }
    return deliver(converted, destination, destinationSize);
}

WINPLATFORM_API int WINAPI WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR source, int sourceLength,
                                               LPSTR destination, int destinationSize, LPCSTR defaultChar,
                                               BOOL* usedDefaultChar) {
    if (source == nullptr || sourceLength < -1 || destinationSize < 0 || (!isAnsi(codePage) && codePage != CP_UTF8)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t length = 0;
    if (sourceLength == -1) {
        while (source[length] != 0) ++length;
        ++length;
    } else {
        length = static_cast<std::size_t>(sourceLength);
    }
    const std::u16string_view input(source, length);
    std::string converted;
    if (usedDefaultChar != nullptr) *usedDefaultChar = FALSE;
    if (codePage == CP_UTF8) {
        converted = platform::utf16ToUtf8(input);
    } else {
        const char fallback = defaultChar != nullptr ? *defaultChar : '?';
        converted.reserve(length);
        for (char16_t unit : input) {
            char byte = 0;
            if (!encode1252(unit, &byte)) {
                byte = fallback;
                if (usedDefaultChar != nullptr) *usedDefaultChar = TRUE;
            }
            converted.push_back(byte);
        }
    }
    return deliver(converted, destination, destinationSize);
}
