// The reader of compiled resource files, on files made by hand.
#include "res_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using winplatform::forEachResource;
using winplatform::ResourceEntry;

void put16(std::vector<BYTE>& out, unsigned value) {
    out.push_back(static_cast<BYTE>(value & 0xFF));
    out.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
}
void put32(std::vector<BYTE>& out, unsigned value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One entry with a numeric type, a string name and `data`.
std::vector<BYTE> entry(unsigned type, const std::u16string& name, const std::vector<BYTE>& data) {
    std::vector<BYTE> header;
    put16(header, 0xFFFF);
    put16(header, type);
    for (char16_t c : name) put16(header, c);
    put16(header, 0);
    while (header.size() % 4 != 0) header.push_back(0);
    put32(header, 0);       // data version
    put16(header, 0x1030);  // flags
    put16(header, 0x0409);  // language
    put32(header, 0);
    put32(header, 0);
    std::vector<BYTE> out;
    put32(out, static_cast<unsigned>(data.size()));
    put32(out, static_cast<unsigned>(header.size() + 8));
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4 != 0) out.push_back(0);
    return out;
}

std::vector<ResourceEntry> read(const std::vector<BYTE>& file) {
    std::vector<ResourceEntry> entries;
    forEachResource(std::span<const BYTE>(file), [&](const ResourceEntry& e) {
        entries.push_back(e);
        return true;
    });
    return entries;
}

TEST(ResourceFile, ReadsEntriesInOrder) {
    std::vector<BYTE> file = entry(10, u"FIRST", {1, 2, 3});
    const auto second = entry(10, u"Second", {9});
    file.insert(file.end(), second.begin(), second.end());
    const auto entries = read(file);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].type.number, 10);
    EXPECT_FALSE(entries[0].name.isNumber);
    EXPECT_EQ(entries[0].name.text, u"FIRST");
    EXPECT_EQ(entries[0].language, 0x0409);
    EXPECT_EQ(entries[0].data.size(), 3u);
    EXPECT_EQ(entries[1].data[0], 9);

    winplatform::ResourceKey wanted;
    wanted.isNumber = false;
    wanted.text = u"second";
    EXPECT_TRUE(entries[1].name.matches(wanted)) << "names ignore ASCII case";
}

TEST(ResourceFile, StopsAtTheFirstMalformedEntry) {
    std::vector<BYTE> file = entry(10, u"OK", {1, 2, 3, 4});
    const std::size_t good = file.size();
    auto broken = entry(10, u"LONG", {5, 6});
    broken[0] = 0xFF;  // data size far beyond the file
    file.insert(file.end(), broken.begin(), broken.end());
    EXPECT_EQ(read(file).size(), 1u);

    for (std::size_t cut = good + 1; cut < file.size(); ++cut) {
        std::vector<BYTE> truncated(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_LE(read(truncated).size(), 1u) << "cut at " << cut;
    }
}

TEST(ResourceFile, UnterminatedNameIsRefused) {
    std::vector<BYTE> file;
    put32(file, 0);
    put32(file, 32);
    put16(file, 0xFFFF);
    put16(file, 6);
    for (int i = 0; i < 12; ++i) put16(file, 'A');  // never ends within the header
    EXPECT_TRUE(read(file).empty());
}

}  // namespace
