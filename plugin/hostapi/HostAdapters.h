// The adapters through which every handler reads its parameters and stores
// its text result. Parameter positions count from 0.
#pragma once

#include <FMWrapper/FMWrapper.h>

#include <cstdint>
#include <string>

namespace zera {

std::uint32_t parameterCount(const fmx::DataVect* parameters);

// The parameter as text, up to its first zero unit.
std::u16string readTextParam(const fmx::DataVect* parameters, std::uint32_t position);

// The parameter as the host's 32-bit integer conversion of its number.
std::int32_t readIntegerParam(const fmx::DataVect* parameters, std::uint32_t position);

// Stores a text as the result, in the result value's own locale.
void setTextResult(fmx::Data* result, const std::u16string& text);

// Replaces a host text's content.
void assignText(fmx::Text* text, const std::u16string& value);

}  // namespace zera
