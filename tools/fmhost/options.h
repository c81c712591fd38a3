// The command line of fmhost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fmhost {

inline constexpr std::int16_t kDefaultHostVersion = 60;

// The signature pad control's file, as its installer puts it beside the
// host program.
#ifdef _WIN32
inline constexpr const char* kControlFile = "sigplus.dll";
#else
inline constexpr const char* kControlFile = "libsigplus.so";
#endif

struct Options {
    std::string pluginPath;
    std::optional<std::string> scriptPath;  // "-" reads the script from stdin
    std::vector<std::string> expressions;   // -e, in order
    std::int16_t hostVersion = kDefaultHostVersion;
    bool quiet = false;
    bool verbose = false;
    bool preferences = false;
    // The signature pad control's library: beside fmhost unless given; with
    // noControl the control is not registered at all.
    std::optional<std::string> controlPath;
    bool noControl = false;
    // Pen input and dialog buttons for captures, from a pad script; without
    // one a capture dialog closes at once, as by its close box (on Windows
    // it waits for a person at the keyboard and mouse).
    std::optional<std::string> padScriptPath;
    // A folder for pictures of the pad's screen (PNG).
    std::optional<std::string> screensFolder;
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line is usable
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);

std::string usageText();

}  // namespace fmhost
