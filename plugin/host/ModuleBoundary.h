// Where control goes back from the module to the host. On 32-bit Windows
// the compiler's runtime is linked into the module and unwinds with tables
// only the module's own copy knows: an exception leaving the module there
// would end the host's process instead of reaching it. So in that build the
// boundary stops it: a handler answers the host's own error code (1 for
// memory, 2 for anything else) and an entry call returns with the block as
// it stood. Elsewhere exceptions pass on to the host, as they always have.
#pragma once

#include <FMWrapper/FMWrapper.h>

#include <cstdint>
#include <new>

#if defined(_WIN32) && defined(__i386__)
#define ZERA_STOP_EXCEPTIONS_AT_MODULE_BOUNDARY 1
#else
#define ZERA_STOP_EXCEPTIONS_AT_MODULE_BOUNDARY 0
#endif

namespace zera {

template <typename Call, typename OnMemory, typename OnOther>
decltype(auto) atModuleBoundary(Call&& call, [[maybe_unused]] OnMemory onMemory, [[maybe_unused]] OnOther onOther) {
#if ZERA_STOP_EXCEPTIONS_AT_MODULE_BOUNDARY
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return onMemory();
    } catch (...) {
        return onOther();
    }
#else
    return call();
#endif
}

// A handler as the host calls it.
template <ExtPluginType handler>
FMErrcode FMX_STDCALL handlerAtBoundary(std::int16_t functionId, const fmx::ExprEnv* environment, const fmx::DataVect* parameters,
                            fmx::Data* result) {
    return atModuleBoundary([&] { return handler(functionId, environment, parameters, result); },
                            [] { return static_cast<FMErrcode>(kHostErrOutOfMemory); },
                            [] { return static_cast<FMErrcode>(kHostErrUnknown); });
}

}  // namespace zera
