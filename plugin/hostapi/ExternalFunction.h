// The signature by which the host calls an external function's handler.
#pragma once

#include <FMWrapper/FMWrapper.h>

#include <cstdint>

#define ZERA_HANDLER(name)                                                                        \
    FMErrcode FMX_STDCALL name([[maybe_unused]] std::int16_t functionId, [[maybe_unused]] const fmx::ExprEnv* environment, \
                   [[maybe_unused]] const fmx::DataVect* parameters, [[maybe_unused]] fmx::Data* result)
