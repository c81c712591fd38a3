#include "sigplus/saved_state.h"

namespace sigplus {
namespace {

std::uint32_t readLe32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 | std::uint32_t{bytes[at + 2]} << 16 |
           std::uint32_t{bytes[at + 3]} << 24;
}

void writeLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::optional<SavedState> SavedState::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kSavedStateHeaderSize) return std::nullopt;
    SavedState state;
    state.leading = readLe32(bytes, 0);
    state.version = readLe32(bytes, 4);
    state.extentX = static_cast<std::int32_t>(readLe32(bytes, 8));
    state.extentY = static_cast<std::int32_t>(readLe32(bytes, 12));
    state.stockProperties = readLe32(bytes, 16);
    state.foreColour = readLe32(bytes, 20);
    state.backColour = readLe32(bytes, 24);
    state.properties.assign(bytes.begin() + kSavedStateHeaderSize, bytes.end());
    return state;
}

std::vector<std::uint8_t> SavedState::bytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(kSavedStateHeaderSize + properties.size());
    writeLe32(out, leading);
    writeLe32(out, version);
    writeLe32(out, static_cast<std::uint32_t>(extentX));
    writeLe32(out, static_cast<std::uint32_t>(extentY));
    writeLe32(out, stockProperties);
    writeLe32(out, foreColour);
    writeLe32(out, backColour);
    out.insert(out.end(), properties.begin(), properties.end());
    return out;
}

}  // namespace sigplus
