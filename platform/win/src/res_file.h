// Reading a compiled resource file (.res), the format windres and rc write:
// a sequence of entries, each a header (data size, header size, type, name,
// language, ...) followed by the data, both aligned to four bytes.
#pragma once

#include "winplatform/types.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace winplatform {

// A resource type or name: a 16-bit number, or a string compared without
// regard to the case of ASCII letters.
struct ResourceKey {
    bool isNumber = true;
    WORD number = 0;
    std::u16string text;

    static ResourceKey fromArgument(LPCWSTR argument);
    bool matches(const ResourceKey& other) const;
};

struct ResourceEntry {
    ResourceKey type;
    ResourceKey name;
    WORD language = 0;
    const BYTE* header = nullptr;  // where the entry starts in the file
    std::span<const BYTE> data;
};

// Calls `visit` for every well-formed entry of the file, in file order,
// until it returns false. Reading stops at the first malformed entry.
template <typename Visitor>
void forEachResource(std::span<const BYTE> file, Visitor&& visit);

// Parses the entry that starts at `offset`; nothing if it is malformed or
// runs past the end of the file.
std::optional<ResourceEntry> parseResourceEntry(std::span<const BYTE> file, std::size_t offset,
                                                std::size_t* nextOffset);

template <typename Visitor>
void forEachResource(std::span<const BYTE> file, Visitor&& visit) {
    std::size_t offset = 0;
    while (offset < file.size()) {
        std::size_t next = 0;
        auto entry = parseResourceEntry(file, offset, &next);
        if (!entry) return;
        if (!visit(*entry)) return;
        offset = next;
    }
}

}  // namespace winplatform
