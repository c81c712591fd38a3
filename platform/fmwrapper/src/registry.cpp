// FM_ExprEnv_...: the calculation engine's registry of external functions,
// and the host's view of it.
#include "runtime.h"

#include <algorithm>

using fmw::detail::HostCall;

namespace {

std::string pluginIdOf(const fmx::QuadChar* quadChar) {
    return std::string(quadChar->chars.data(), quadChar->chars.size());
}

char16_t foldAscii(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 0x20) : unit; }

bool sameNameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return foldAscii(x) == foldAscii(y); });
}

}  // namespace

FMErrcode FM_ExprEnv_RegisterExternalFunction(const fmx::QuadChar* pluginId, int16_t functionId,
                                              const fmx::Text* name, const fmx::Text* prototype, int16_t minArgs,
                                              int16_t maxArgs, uint32_t flags, ExtPluginType handler,
                                              HostError& error) {
    HostCall call("FM_ExprEnv_RegisterExternalFunction", error);
    if (!call.proceed()) {
        return 0;
    }
    if (!call.live(pluginId) || !call.live(name) || !call.live(prototype)) {
        return fmw::detail::kRefused;
    }
    if (handler == nullptr) {
        call.misuse("null handler");
        return fmw::detail::kRefused;
    }
    fmw::FunctionEntry entry;
    entry.pluginId = pluginIdOf(pluginId);
    entry.id = functionId;
    entry.name = name->units;
    entry.prototype = prototype->units;
    entry.minArgs = minArgs;
    entry.maxArgs = maxArgs;
    entry.flags = flags;
    entry.handler = handler;

    auto& functions = fmw::detail::runtime().functions;
    const auto existing = std::find_if(functions.begin(), functions.end(), [&](const fmw::FunctionEntry& f) {
        return f.pluginId == entry.pluginId && f.id == entry.id;
    });
    if (existing != functions.end()) {
        *existing = std::move(entry);  // keeps its place in the order
    } else {
        functions.push_back(std::move(entry));
    }
    return 0;
}

FMErrcode FM_ExprEnv_UnRegisterExternalFunction(const fmx::QuadChar* pluginId, int16_t functionId,
                                                HostError& error) {
    HostCall call("FM_ExprEnv_UnRegisterExternalFunction", error);
    if (!call.proceed()) {
        return 0;
    }
    if (!call.live(pluginId)) {
        return fmw::detail::kRefused;
    }
    auto& state = fmw::detail::runtime();
    const std::string id = pluginIdOf(pluginId);
    state.unregisterRequests.emplace_back(id, functionId);
    std::erase_if(state.functions,
                  [&](const fmw::FunctionEntry& f) { return f.pluginId == id && f.id == functionId; });
    return 0;
}

namespace fmw {

std::vector<FunctionEntry> registeredFunctions() { return detail::runtime().functions; }

std::optional<FunctionEntry> findFunction(std::u16string_view name) {
    for (const FunctionEntry& function : detail::runtime().functions) {
        if (sameNameIgnoringAsciiCase(function.name, name)) {
            return function;
        }
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::int16_t>> unregisterRequests() {
    return detail::runtime().unregisterRequests;
}

void clearRegistry() {
    detail::runtime().functions.clear();
    detail::runtime().unregisterRequests.clear();
}

}  // namespace fmw
