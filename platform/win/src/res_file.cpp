#include "res_file.h"

#include <cstring>

namespace winplatform {
namespace {

constexpr std::size_t kFixedHeaderTail = 16;  // data version, flags, language, version, characteristics

std::size_t alignedTo4(std::size_t value) { return (value + 3) & ~static_cast<std::size_t>(3); }

bool readWord(std::span<const BYTE> file, std::size_t offset, WORD* out) {
    if (offset + 2 > file.size()) return false;
    *out = static_cast<WORD>(file[offset] | (file[offset + 1] << 8));
    return true;
}

bool readDword(std::span<const BYTE> file, std::size_t offset, DWORD* out) {
    if (offset + 4 > file.size()) return false;
    *out = static_cast<DWORD>(file[offset]) | (static_cast<DWORD>(file[offset + 1]) << 8) |
           (static_cast<DWORD>(file[offset + 2]) << 16) | (static_cast<DWORD>(file[offset + 3]) << 24);
    return true;
}

// A type or name field: 0xFFFF followed by a number, or a zero-terminated
// UTF-16 string. `end` bounds the header.
bool readKey(std::span<const BYTE> file, std::size_t* offset, std::size_t end, ResourceKey* key) {
    WORD first = 0;
    if (*offset + 2 > end || !readWord(file, *offset, &first)) return false;
    if (first == 0xFFFF) {
        if (*offset + 4 > end || !readWord(file, *offset + 2, &key->number)) return false;
        key->isNumber = true;
        *offset += 4;
        return true;
    }
    key->isNumber = false;
    key->text.clear();
    for (;;) {
        WORD unit = 0;
        if (*offset + 2 > end || !readWord(file, *offset, &unit)) return false;
        *offset += 2;
        if (unit == 0) return true;
        key->text.push_back(static_cast<char16_t>(unit));
    }
}

char16_t upperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

}  // namespace

ResourceKey ResourceKey::fromArgument(LPCWSTR argument) {
    ResourceKey key;
    if (IS_INTRESOURCE(argument)) {
        key.isNumber = true;
        key.number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(argument));
        return key;
    }
    key.isNumber = false;
    // "#123" names the number 123, as on Windows.
    if (argument[0] == u'#') {
        DWORD value = 0;
        bool digits = argument[1] != 0;
        for (LPCWSTR p = argument + 1; *p != 0 && digits; ++p) {
            digits = *p >= u'0' && *p <= u'9' && value < 0x10000;
            value = value * 10 + static_cast<DWORD>(*p - u'0');
        }
        if (digits && value <= 0xFFFF) {
            key.isNumber = true;
            key.number = static_cast<WORD>(value);
            return key;
        }
    }
    for (LPCWSTR p = argument; *p != 0; ++p) key.text.push_back(*p);
    return key;
}

bool ResourceKey::matches(const ResourceKey& other) const {
    if (isNumber != other.isNumber) return false;
    if (isNumber) return number == other.number;
    if (text.size() != other.text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upperAscii(text[i]) != upperAscii(other.text[i])) return false;
    }
    return true;
}

std::optional<ResourceEntry> parseResourceEntry(std::span<const BYTE> file, std::size_t offset,
                                                std::size_t* nextOffset) {
    DWORD dataSize = 0;
    DWORD headerSize = 0;
    if (!readDword(file, offset, &dataSize) || !readDword(file, offset + 4, &headerSize)) return std::nullopt;
    if (headerSize < 8 + 4 + 4 + kFixedHeaderTail) return std::nullopt;
    if (headerSize > file.size() - offset) return std::nullopt;
    const std::size_t headerEnd = offset + headerSize;
    if (dataSize > file.size() - headerEnd) return std::nullopt;

    ResourceEntry entry;
    std::size_t cursor = offset + 8;
    if (!readKey(file, &cursor, headerEnd, &entry.type)) return std::nullopt;
    if (!readKey(file, &cursor, headerEnd, &entry.name)) return std::nullopt;
    cursor = alignedTo4(cursor);
    if (cursor + kFixedHeaderTail > headerEnd) return std::nullopt;
    if (!readWord(file, cursor + 6, &entry.language)) return std::nullopt;

    entry.header = file.data() + offset;
    entry.data = file.subspan(headerEnd, dataSize);
    *nextOffset = alignedTo4(headerEnd + dataSize);
    return entry;
}

}  // namespace winplatform
