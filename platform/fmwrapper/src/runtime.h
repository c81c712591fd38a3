// The runtime's process-wide state and the checks every host call makes.
#pragma once

#include "objects.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace fmw::detail {

inline constexpr std::size_t kKindCount = 8;

// What an operation with an error-code result returns when it refuses a
// misused argument: "no error" would claim a store that never happened.
inline constexpr FMErrcode kRefused = 3;

inline std::size_t kindIndex(Kind kind) { return static_cast<std::size_t>(kind); }

// Everything the host keeps for the whole process, in one place.
struct Runtime {
    // Live objects by kind: the only pointers the host will dereference.
    std::array<std::unordered_set<const void*>, kKindCount> live;
    // Objects a plug-in constructed and has not released yet.
    std::unordered_set<const void*> pluginOwned;

    std::size_t misuseCount = 0;
    std::string lastMisuse;

    std::uint64_t hostCalls = 0;
    // Pending injected faults: call number -> code.
    std::map<std::uint64_t, std::int32_t> faults;
    bool journalEnabled = false;
    std::vector<std::string> journal;

    std::vector<FunctionEntry> functions;
    std::vector<std::pair<std::string, std::int16_t>> unregisterRequests;

    // Made on first use and never destroyed, like the rest of the runtime.
    fmx::Locale* defaultLocale = nullptr;
    fmx::ExprEnv* environment = nullptr;
};

Runtime& runtime();

void recordMisuse(std::string message);

// One FM_... operation in progress. Opening it counts the call, writes the
// journal, checks the caller's error record and applies an injected fault;
// the checks below refuse a bad argument without dereferencing it.
class HostCall {
public:
    HostCall(const char* operation, HostError& error);
    HostCall(const HostCall&) = delete;
    HostCall& operator=(const HostCall&) = delete;

    // False when an injected failure (code 1 or 2) means the operation must
    // do nothing.
    bool proceed() const { return !failed_; }

    // The object is a live host object of its kind.
    template <class T>
    bool live(const T* object) {
        return checkLive(T::kind, T::noun, object);
    }
    // The object is one the plug-in constructed and may change or release.
    template <class T>
    bool owned(const T* object) {
        return checkOwned(T::kind, T::noun, object);
    }
    // A plain pointer argument (a string or a buffer) is not null.
    bool present(const void* pointer, const char* what);
    void misuse(const std::string& problem);

    // Hands a new object to the plug-in, which now owns it.
    template <class T>
    T* adopt(std::unique_ptr<T> object) {
        runtime().pluginOwned.insert(object.get());
        return object.release();
    }
    template <class T>
    void release(T* object) {
        if (owned(object)) {
            runtime().pluginOwned.erase(object);
            delete object;
        }
    }

private:
    bool checkLive(Kind kind, const char* noun, const void* object);
    bool checkOwned(Kind kind, const char* noun, const void* object);

    const char* operation_;
    bool failed_ = false;
};

}  // namespace fmw::detail
