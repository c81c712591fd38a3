#pragma once

#include "HostCallBlock.h"
#include "hostapi/HostHandles.h"

#include <cstdint>

namespace zera {

inline constexpr std::int16_t kMinHostVersion = 50;
inline constexpr std::int16_t kMaxHostVersion = 255;
inline constexpr std::int32_t kPluginInterfaceVersion = 53;
inline constexpr std::int32_t kRejectedHostVersion = -1;
inline constexpr std::uint8_t kOptionsStringRequest = 131;
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
