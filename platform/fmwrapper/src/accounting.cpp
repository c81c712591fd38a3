// Live-object accounting, misuse records, host-call numbering, injected
// faults and the journal.
#include "runtime.h"

#include <cstdio>

namespace fmw {
namespace detail {

Runtime& runtime() {
    // Never destroyed: host objects a plug-in or a test keeps in a static
    // are released during static destruction and must still find it.
    static Runtime* const instance = new Runtime;
    return *instance;
}

void trackObject(Kind kind, const void* object) { runtime().live[kindIndex(kind)].insert(object); }

void untrackObject(Kind kind, const void* object) { runtime().live[kindIndex(kind)].erase(object); }

void recordMisuse(std::string message) {
    Runtime& state = runtime();
    ++state.misuseCount;
    state.lastMisuse = std::move(message);
}

namespace {

std::string describe(const void* pointer) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%p", pointer);
    return buffer;
}

}  // namespace

HostCall::HostCall(const char* operation, HostError& error) : operation_(operation) {
    Runtime& state = runtime();
    const std::uint64_t number = ++state.hostCalls;
    if (state.journalEnabled) {
        state.journal.emplace_back(operation);
    }
    if (error.version != kHostErrorVersion) {
        misuse("error record version " + std::to_string(error.version) + ", expected " +
               std::to_string(kHostErrorVersion));
    }
    // The host writes the outcome of every call, so a code left over from
    // an earlier call never reads as this call's failure.
    error.code = 0;
    if (const auto fault = state.faults.find(number); fault != state.faults.end()) {
        error.code = fault->second;
        failed_ = fault->second == kHostErrOutOfMemory || fault->second == kHostErrUnknown;
        state.faults.erase(fault);
    }
}

bool HostCall::present(const void* pointer, const char* what) {
    if (pointer == nullptr) {
        misuse(std::string("null ") + what);
        return false;
    }
    return true;
}

void HostCall::misuse(const std::string& problem) { recordMisuse(std::string(operation_) + ": " + problem); }

bool HostCall::checkLive(Kind kind, const char* noun, const void* object) {
    if (!present(object, noun)) {
        return false;
    }
    if (runtime().live[kindIndex(kind)].count(object) == 0) {
        misuse(std::string(noun) + " " + describe(object) + " is not a live host object");
        return false;
    }
    return true;
}

bool HostCall::checkOwned(Kind kind, const char* noun, const void* object) {
    if (!checkLive(kind, noun, object)) {
        return false;
    }
    if (runtime().pluginOwned.count(object) == 0) {
        misuse(std::string(noun) + " " + describe(object) + " is not owned by the plug-in");
        return false;
    }
    return true;
}

}  // namespace detail

std::size_t liveObjects(Kind kind) { return detail::runtime().live[detail::kindIndex(kind)].size(); }

std::size_t pluginOwnedLive() { return detail::runtime().pluginOwned.size(); }

std::size_t misuseCount() { return detail::runtime().misuseCount; }

std::string lastMisuse() { return detail::runtime().lastMisuse; }

void clearMisuse() {
    detail::runtime().misuseCount = 0;
    detail::runtime().lastMisuse.clear();
}

std::uint64_t hostCallCount() { return detail::runtime().hostCalls; }

void resetHostCalls() { detail::runtime().hostCalls = 0; }

void failHostCall(std::uint64_t callNumber, std::int32_t code) { detail::runtime().faults[callNumber] = code; }

void clearHostFault() { detail::runtime().faults.clear(); }

void setJournalEnabled(bool enabled) { detail::runtime().journalEnabled = enabled; }

std::vector<std::string> journal() { return detail::runtime().journal; }

void clearJournal() { detail::runtime().journal.clear(); }

}  // namespace fmw
