#include "control_registration.h"

#include "library_file.h"
#include "noticed_input.h"

#include <sigplus/control.h>
#include <sigplus/pad_script.h>
#include <winplatform/com_registry.h>
#include <winplatform/headless_input.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace fmhost {
namespace {

std::filesystem::path programFolder(const std::string& programPath) {
    char resolved[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    if (n > 0) {
        resolved[n] = '\0';
        return std::filesystem::path(resolved).parent_path();
    }
    return std::filesystem::absolute(programPath).parent_path();
}

}  // namespace

bool registerControl(const Options& options, const std::string& programPath, Held&, std::string& error) {
    if (options.noControl) return true;
    const std::filesystem::path library =
        options.controlPath ? std::filesystem::absolute(*options.controlPath) : programFolder(programPath) / kControlFile;
    if (!std::filesystem::exists(library)) {
        error = "no control library at '" + library.string() + "'";
        return false;
    }
    // The library is loaded when the first control is made, deep inside a
    // calculation; a damaged file is refused here, before anything runs.
    if (const auto fault = libraryFileFault(library.string())) {
        error = "cannot use the control library '" + library.string() + "': " + *fault;
        return false;
    }
    if (FAILED(winplatform::registerInprocServer(sigplus::CLSID_SigPlus, library.string()))) {
        error = "cannot register the control library '" + library.string() + "'";
        return false;
    }
    return true;
}

bool preparePad(const Options& options, std::ostream& notes, Held&, std::string& error) {
    if (options.screensFolder) {
        std::error_code failed;
        std::filesystem::create_directories(*options.screensFolder, failed);
        if (failed || !std::filesystem::is_directory(*options.screensFolder)) {
            error = "cannot make the screens folder '" + *options.screensFolder + "'" +
                    (failed ? ": " + failed.message() : std::string());
            return false;
        }
        // The control reads it when it is made.
        ::setenv(sigplus::kScreensVariable, std::filesystem::absolute(*options.screensFolder).c_str(), 1);
    }
    std::shared_ptr<platform::InputSource> script;
    if (options.padScriptPath) {
        try {
            script = sigplus::loadPadScript(*options.padScriptPath);
        } catch (const sigplus::PadScriptError& e) {
            error = std::string("pad script ") + e.what();
            return false;
        }
    }
    winplatform::setInputSource(std::make_shared<NoticedInput>(std::move(script), options.padScriptPath, notes));
    return true;
}

}  // namespace fmhost
