// The external functions the plug-in registers, in registration order.
#pragma once

#include <FMWrapper/FMWrapper.h>

#include <array>
#include <cstdint>

namespace zera {

// The plug-in's block of function IDs; shutdown unregisters all of it (see
// docs/compatibility.md).
inline constexpr std::int16_t kFirstFunctionId = 148;
inline constexpr std::int16_t kLastFunctionId = 179;
// Listed in every calculation dialog, and allowed where no user interface
// runs, such as a server (see docs/compatibility.md).
inline constexpr std::uint32_t kFunctionFlags = kDisplayInAllDialogs | kMayEvaluateOnServer;
static_assert(kFunctionFlags == 0xFF01);

struct FunctionRow {
    std::int16_t id;  // also the ID of the string holding its prototype (see docs/compatibility.md)
    std::int16_t minParams;
    std::int16_t maxParams;
    ExtPluginType handler;
};

extern const std::array<FunctionRow, 9> kFunctionTable;

}  // namespace zera
