// The plug-in's settings: written by the setter functions, read by the
// capture and the render. They live in memory from module load to module
// unload; nothing is saved anywhere, every load starts from the defaults.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zera {

// Stored signatures open only under the modes they were made with, and
// scripts that never call a setter rely on the rest (see
// docs/compatibility.md).
inline constexpr std::int16_t kDefaultTabletMode = 6;
inline constexpr std::int16_t kDefaultTabletComPort = 0;
inline constexpr std::int32_t kDefaultEncryptionMode = 2;
inline constexpr std::int32_t kDefaultCompressionMode = 0;
inline constexpr std::int32_t kDefaultPenWidth = 15;

// Pad type code and COM port, handed to the control unchanged.
extern std::int16_t tabletMode;
extern std::int16_t tabletComPort;

// The modes of signature texts and the pen width of rendered images.
extern std::int32_t encryptionMode;
extern std::int32_t compressionMode;
extern std::int32_t penWidth;

// The banner image's path as it was given, or none.
extern std::optional<std::u16string> bannerPath;

}  // namespace zera
