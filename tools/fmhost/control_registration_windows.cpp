// The Windows build does not register the pad control yet: a capture finds
// no control there (as on a machine without the pad's software) unless one
// is installed. What needs the control says so instead of doing nothing.
#include "control_registration.h"

namespace fmhost {
namespace {

constexpr const char* kNotYet = "is not available in the Windows build of fmhost yet";

}  // namespace

bool registerControl(const Options& options, const std::string&, std::string& error) {
    if (options.noControl || !options.controlPath) return true;
    error = std::string("--control ") + kNotYet + ": the pad control installed on the system, if any, is used";
    return false;
}

bool preparePad(const Options& options, std::ostream&, std::string& error) {
    if (options.padScriptPath || options.screensFolder) {
        error = std::string(options.padScriptPath ? "--pad " : "--screens ") + kNotYet +
                ": the capture dialog takes its input from the keyboard and mouse";
        return false;
    }
    return true;
}

}  // namespace fmhost
