// The control's persisted state, as a container hands it over when it
// creates the control (a stream of bytes).
#pragma once

#include "sigplus/api.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sigplus {

// The state the capture dialog's template carries for the control (see
// docs/compatibility.md).
inline constexpr std::size_t kSavedStateHeaderSize = 28;

struct SIGPLUS_API SavedState {
    std::uint32_t leading = 0;
    std::uint32_t version = 0x00020018;
    std::int32_t extentX = 0;  // HIMETRIC
    std::int32_t extentY = 0;
    std::uint32_t stockProperties = 0;  // mask of the stock properties stored
    std::uint32_t foreColour = 0;       // COLORREF
    std::uint32_t backColour = 0;
    std::vector<std::uint8_t> properties;  // the control's own, kept as given

    // Nothing for fewer bytes than the header.
    static std::optional<SavedState> parse(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> bytes() const;
};

}  // namespace sigplus
