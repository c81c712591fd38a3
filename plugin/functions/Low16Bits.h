// The 16-bit values the pad control takes, cut from the host's and the
// dialog's 32-bit integers as the 32-bit build's casts cut them: the low 16
// bits, so that out-of-range values wrap instead of saturating (see
// docs/compatibility.md).
#pragma once

#include <cstdint>

namespace zera {

inline std::int16_t low16Bits(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

}  // namespace zera
