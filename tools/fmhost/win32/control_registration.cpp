// The pad control on Windows: its DLL loaded by fmhost itself and its class
// object registered for the process, so that the plug-in's CoCreateInstance
// (and the dialog framework's) finds it without the system's registry; pad
// scripts played into the real dialogs; the screens folder handed to the
// control through its environment variable.
#include "control_registration.h"

#include "library_file.h"
#include "noticed_input.h"
#include "win32/pad_driver.h"

#include "platform/utf.h"

#include <sigplus/control.h>
#include <sigplus/pad_script.h>

#include <objbase.h>
#include <platform/com_init.h>
#include <platform/com_ptr.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace fmhost {
namespace {

std::filesystem::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

std::string text(const std::filesystem::path& path) { return platform::utf16ToUtf8(path.u16string()); }

// Held for the run: fmhost's own COM apartment, which the plug-in's own
// CoInitialize and CoUninitialize pairs then never take down with the
// registration in it; the control's DLL and its class object.
class Registration final : public HeldForRun {
public:
    ~Registration() override {
        if (cookie_ != 0) CoRevokeClassObject(cookie_);
        factory_.reset();
        // A control the plug-in failed to release still runs the DLL's code;
        // the DLL then stays until the process ends.
        if (module_ != nullptr && canUnload()) FreeLibrary(module_);
    }

    bool comStarted() const { return SUCCEEDED(com_.status()); }

    // Returns a message when it fails.
    std::optional<std::string> registerFrom(const std::filesystem::path& library) {
        module_ = LoadLibraryExW(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module_ == nullptr) return "it does not load (error " + std::to_string(GetLastError()) + ")";
        using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
        const auto entry = reinterpret_cast<GetClassObject>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllGetClassObject")));
        if (entry == nullptr) return std::string("it has no DllGetClassObject export");
        HRESULT result = entry(sigplus::CLSID_SigPlus, IID_IClassFactory, factory_.putVoid());
        if (FAILED(result) || !factory_) return "it gives no class object for the control (" + hex(result) + ")";
        result = CoRegisterClassObject(sigplus::CLSID_SigPlus, factory_.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
        if (FAILED(result)) return "its class object was refused (" + hex(result) + ")";
        return std::nullopt;
    }

private:
    bool canUnload() const {
        using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
        const auto entry = reinterpret_cast<CanUnloadNow>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllCanUnloadNow")));
        return entry == nullptr || entry() == S_OK;
    }

    static std::string hex(HRESULT result) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "0x%08lX", static_cast<unsigned long>(result));
        return digits;
    }

    // Declared first, so that COM goes last, after the DLL.
    platform::ScopedComInit com_;
    HMODULE module_ = nullptr;
    platform::ComPtr<IClassFactory> factory_;
    DWORD cookie_ = 0;
};

}  // namespace

bool registerControl(const Options& options, const std::string&, Held& held, std::string& error) {
    auto registration = std::make_unique<Registration>();
    if (!registration->comStarted()) {
        error = "cannot start COM on the program's thread";
        return false;
    }
    if (!options.noControl) {
        const std::filesystem::path library =
            options.controlPath ? std::filesystem::absolute(std::filesystem::path(platform::utf8ToUtf16(*options.controlPath)))
                                : programFolder() / kControlFile;
        std::error_code failed;
        if (!std::filesystem::exists(library, failed)) {
            error = "no control library at '" + text(library) + "'";
            return false;
        }
        if (const auto fault = libraryFileFault(text(library))) {
            error = "cannot use the control library '" + text(library) + "': " + *fault;
            return false;
        }
        if (const auto refused = registration->registerFrom(library)) {
            error = "cannot register the control library '" + text(library) + "': " + *refused;
            return false;
        }
    }
    held = std::move(registration);
    return true;
}

bool preparePad(const Options& options, std::ostream& notes, Held& held, std::string& error) {
    if (options.screensFolder) {
        const std::filesystem::path folder(platform::utf8ToUtf16(*options.screensFolder));
        std::error_code failed;
        std::filesystem::create_directories(folder, failed);
        if (failed || !std::filesystem::is_directory(folder)) {
            error = "cannot make the screens folder '" + *options.screensFolder + "'" +
                    (failed ? ": " + failed.message() : std::string());
            return false;
        }
        // The control reads it when it is made.
        const std::u16string variable = platform::utf8ToUtf16(sigplus::kScreensVariable);
        if (!SetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(variable.c_str()),
                                     std::filesystem::absolute(folder).c_str())) {
            error = "cannot hand the screens folder to the control (error " + std::to_string(GetLastError()) + ")";
            return false;
        }
    }
    // Without a script the dialogs are a person's to answer.
    if (!options.padScriptPath) return true;
    std::shared_ptr<platform::InputSource> script;
    try {
        script = sigplus::loadPadScript(std::filesystem::path(platform::utf8ToUtf16(*options.padScriptPath)));
    } catch (const sigplus::PadScriptError& e) {
        error = std::string("pad script ") + e.what();
        return false;
    }
    held = installPadDriver(std::make_shared<NoticedInput>(std::move(script), options.padScriptPath, notes), notes);
    if (!held) {
        error = "cannot watch the program's dialogs for the pad script";
        return false;
    }
    return true;
}

}  // namespace fmhost
