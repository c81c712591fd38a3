// Loads the plug-in module the way the host does and drives its entry
// point. Each instance loads the module afresh, so its settings start from
// their defaults; the registry of the host runtime is cleared with it.
#pragma once

#include <FMWrapper/CallBlockBytes.h>
#include <FMWrapper/HostSide.h>

#include <cstdint>
#include <string>
#include <vector>

class PluginModule {
public:
    PluginModule();
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // A block for one call, as the host fills it, carrying this module's handle.
    fmw::CallBlockBytes block(std::uint8_t whichCall, std::int16_t hostVersion = 60) const;
    void call(fmw::CallBlockBytes& block) const { entry_(block.data()); }
    // The handle the loader gave the module: what the host passes as its instance.
    void* handle() const { return handle_; }

    // Start-up with a host version; returns the answer written to the block.
    std::int64_t startup(std::int16_t hostVersion = 60);
    void shutdown();
    void preferences();
    // A get-string request into a buffer of `capacity` units, pre-filled
    // with 0xAAAA so that what the plug-in wrote can be seen.
    std::vector<char16_t> getString(std::uint8_t id, std::uint32_t capacity);

    // Calls a registered function by name.
    fmw::CallResult run(const std::u16string& name, const std::vector<fmw::Value>& arguments = {}) const;
    // The text result of a function, failing the test if it is not text.
    std::u16string text(const std::u16string& name, const std::vector<fmw::Value>& arguments = {}) const;

private:
    void* handle_;
    fmw::ExternCallProc entry_;
};

std::u16string textOf(const std::vector<char16_t>& buffer);
fmw::Value T(const std::u16string& text);
fmw::Value N(double number);
