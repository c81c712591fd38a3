#pragma once

#include "hostapi/HostHandles.h"

#include <FMWrapper/ExternCall.h>

#include <cstdint>

namespace zera {

// Hosts from FileMaker 7 on, up to the highest version the interface has
// (see docs/compatibility.md).
inline constexpr std::int16_t kMinHostVersion = kInterfaceVersionFileMaker7;
inline constexpr std::int16_t kMaxHostVersion = kInterfaceVersionMax;
// The version the plug-in is built for: the first that loads 64-bit modules
// (see docs/compatibility.md).
inline constexpr std::int32_t kPluginInterfaceVersion = kInterfaceVersionFileMaker12;
inline constexpr std::int32_t kRejectedHostVersion = kInterfaceVersionRejected;
inline constexpr unsigned kLoadBufferChars = 1024;

// The block of the most recent entry call; set at the top of every call.
HostCallBlock* currentCallBlock();

std::int32_t startup(std::int16_t hostVersion);
void shutdown();
void showPreferences();
void copyStringForHost(const HostCallBlock& block);

// Fills `text` with the module string `id` (131 asks for string 1); with
// `nameOnly`, cuts it before its first "(".
void loadFunctionText(std::int16_t id, fmx::Text* text, bool nameOnly);

}  // namespace zera
