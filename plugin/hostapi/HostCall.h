// The one error convention around every host operation: a fresh error
// record per call, and host codes 1 and 2 turned into exceptions.
#pragma once

#include <FMWrapper/FMWrapper.h>

#include <exception>
#include <new>
#include <type_traits>
#include <utility>

namespace zera {

// Raises std::bad_alloc for code 1 and std::exception for code 2; any other
// code is left to the caller.
inline void checkHostError(const HostError& error) {
    if (error.code == kHostErrOutOfMemory) throw std::bad_alloc();
    if (error.code == kHostErrUnknown) throw std::exception();
}

// Calls `operation(error)` with a fresh record and checks the record.
template <typename Operation>
decltype(auto) hostCall(Operation&& operation) {
    HostError error{kHostErrorVersion, 0};
    if constexpr (std::is_void_v<decltype(operation(error))>) {
        std::forward<Operation>(operation)(error);
        checkHostError(error);
    } else {
        auto result = std::forward<Operation>(operation)(error);
        checkHostError(error);
        return result;
    }
}

}  // namespace zera
