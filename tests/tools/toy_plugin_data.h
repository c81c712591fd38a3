// The toy plug-in's fixed answers, shared with the tests that check them.
#pragma once

#include <cstdint>
#include <vector>

namespace toy {

inline constexpr char16_t kName[] = u"Toy Plug-in";
inline constexpr char16_t kDescription[] = u"Answers a host's calls for its tests.\nSecond line.";
inline constexpr char16_t kOptions[] = u"TOYP1nnYnnn";

// A start-up answer other than 53 or -1: the module handle in the block was
// not the handle the host's loader gave for this file.
inline constexpr std::int32_t kWrongModuleHandle = -2;

// The GIFf stream of Toy_Picture: a GIF header, then bytes a text-mode
// write would spoil (zero, line feed, carriage return, 0xFF).
inline const std::vector<std::uint8_t>& pictureGif() {
    static const std::vector<std::uint8_t> bytes{'G', 'I', 'F', '8', '9', 'a', 0x03, 0x00, 0x02, 0x00,
                                                 0x00, 0x0A, 0x0D, 0x0A, 0xFF, 0x00, 0x3B};
    return bytes;
}
inline const std::vector<std::uint8_t>& pictureJpeg() {
    static const std::vector<std::uint8_t> bytes{0xFF, 0xD8, 0xFF, 0xD9, 0x00};
    return bytes;
}

}  // namespace toy
