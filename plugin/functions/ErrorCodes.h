// The shared code table: negative codes, one block per area. This plug-in
// raises only codes of the general and signature-capture blocks. Scripts
// branch on the codes and messages (see docs/compatibility.md).
#pragma once

#include <cstdint>
#include <string_view>

namespace zera {

inline constexpr std::int32_t kErrSuccess = 0;
inline constexpr std::int32_t kErrInvalidParamCount = -3;
inline constexpr std::int32_t kErrInvalidParamValue = -4;
inline constexpr std::int32_t kErrLibraryLoad = -200;
inline constexpr std::int32_t kErrFileAccess = -13000;
inline constexpr std::int32_t kErrSaveImage = -13001;
inline constexpr std::int32_t kErrSigPlusNotInstalled = -13002;

// The message for a code; "Undefined error. " for a code not in the table.
std::string_view errorMessage(std::int32_t code);

}  // namespace zera
