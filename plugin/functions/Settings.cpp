#include "Settings.h"

namespace zera {

std::int16_t tabletMode = kDefaultTabletMode;
std::int16_t tabletComPort = kDefaultTabletComPort;
std::int32_t encryptionMode = kDefaultEncryptionMode;
std::int32_t compressionMode = kDefaultCompressionMode;
std::int32_t penWidth = kDefaultPenWidth;
std::optional<std::u16string> bannerPath;

}  // namespace zera
