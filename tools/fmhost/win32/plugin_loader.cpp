// The plug-in loader of the Windows build: the file is a DLL loaded with
// LoadLibraryW, its entry found by name as FileMaker finds it.
#include "plugin_loader.h"

#include "platform/utf.h"
#include "platform/wide_text.h"

#include <windows.h>


namespace fmhost {
namespace {

// The system's own words for a load that failed, with the file's name where
// they leave room for it ("Bad EXE format for %1.").
std::string systemMessage(DWORD code, const std::u16string& file) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string message(length > 0 ? platform::utf16(text) : u"", length);
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' ')) {
        message.pop_back();
    }
    if (message.empty()) return "the file could not be loaded (error " + std::to_string(code) + ")";
    for (std::size_t at = message.find(u"%1"); at != std::u16string::npos; at = message.find(u"%1", at + file.size())) {
        message.replace(at, 2, file);
    }
    return platform::utf16ToUtf8(message);
}

}  // namespace

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
    // A bare name would be searched for along the system's path; a plug-in
    // file is always meant as a path, relative to the current folder if need be.
    const bool bare = path.find_first_of("/\\:") == std::string::npos;
    const std::u16string file = platform::utf8ToUtf16(bare ? ".\\" + path : path);
    // The plug-in's own folder is searched for what it imports, as when the
    // host loads it from its Extensions folder.
    HMODULE module = LoadLibraryExW(platform::wide(file.c_str()), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        error = systemMessage(GetLastError(), file);
        return nullptr;
    }
    FARPROC symbol = GetProcAddress(module, "FMExternCallProc");
    if (symbol == nullptr) {
        error = "the file has no FMExternCallProc export";
        FreeLibrary(module);
        return nullptr;
    }
    return std::unique_ptr<PluginModule>(
        new PluginModule(module, reinterpret_cast<fmw::ExternCallProc>(reinterpret_cast<void (*)()>(symbol))));
}

PluginModule::PluginModule(void* handle, fmw::ExternCallProc entry) : handle_(handle), entry_(entry) {}

PluginModule::~PluginModule() { FreeLibrary(static_cast<HMODULE>(handle_)); }

}  // namespace fmhost
