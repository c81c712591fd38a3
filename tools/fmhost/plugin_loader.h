// Loads a plug-in file and sends it the host's entry calls.
#pragma once

#include <FMWrapper/CallBlockBytes.h>

#include <cstdint>
#include <memory>
#include <string>

namespace fmhost {

inline constexpr std::int64_t kPluginStarted = 53;
inline constexpr std::uint32_t kStringBufferChars = 1024;

inline constexpr std::uint8_t kStringName = 128;
inline constexpr std::uint8_t kStringDescription = 129;
inline constexpr std::uint8_t kStringOptions = 131;

class PluginModule {
public:
    // Loads the file and finds its FMExternCallProc; on failure returns null
    // and says why in `error`. Never runs any entry call.
    static std::unique_ptr<PluginModule> load(const std::string& path, std::string& error);

    ~PluginModule();  // unloads the file
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Each call passes exceptions of the plug-in on to the caller.
    std::int64_t startup(std::int16_t hostVersion);  // the plug-in's answer
    void shutdown();
    void preferences();
    std::u16string getString(std::uint8_t stringId);

    void* handle() const { return handle_; }

private:
    PluginModule(void* handle, fmw::ExternCallProc entry);
    fmw::CallBlockBytes& freshBlock(std::uint8_t whichCall);

    void* handle_;
    fmw::ExternCallProc entry_;
    // One block for the whole load, as FileMaker keeps its own: a plug-in
    // may hold on to the address of the last block it was given and read
    // the module handle through it later, from inside a function call.
    fmw::CallBlockBytes block_{fmw::kWhichCallInit, 0, nullptr, 0};
    // The version sent at start-up goes with every later call, as FileMaker's does.
    std::int16_t interfaceVersion_ = 0;
};

}  // namespace fmhost
