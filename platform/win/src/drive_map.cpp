#include "winplatform/drive_map.h"

#include "platform/utf.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace winplatform {
namespace {

bool isDriveLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

bool hasDrive(std::string_view path) {
    return path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':';
}

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// Windows always has its drive C, so the default folder is made when first
// asked for: without it the diagnostic log would go missing on a machine
// where nothing has made it yet. A folder named by WIN_DRIVE_C is left as
// it is (a missing one stands for a machine without drive C).
std::string made(std::string folder) {
    static std::mutex mutex;
    static std::string last;  // made already: asked for at every path
    std::lock_guard lock(mutex);
    if (folder != last) {
        std::error_code ignored;  // unusable folders show when a file is opened there
        std::filesystem::create_directories(folder, ignored);
        last = folder;
    }
    return folder;
}

}  // namespace

std::string driveCFolder() {
    if (const char* configured = std::getenv("WIN_DRIVE_C"); configured != nullptr && *configured != '\0') {
        return withoutTrailingSlash(configured);
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return made(withoutTrailingSlash(std::string(home) + "/.local/share/winplatform/drive_c"));
    }
    return made("/tmp/winplatform/drive_c");
}

std::optional<std::string> hostPath(std::string_view path) {
    if (!hasDrive(path)) return std::string(path);

    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    std::string root;
    if (drive == 'C') {
        root = driveCFolder();
    } else if (drive == 'Z') {
        root = "";
    } else {
        return std::nullopt;
    }

    std::string rest(path.substr(2));
    for (char& c : rest) {
        if (c == '\\') c = '/';
    }
    if (rest.empty() || rest.front() != '/') rest.insert(rest.begin(), '/');
    if (root.empty()) return rest;
    if (rest == "/") return root;
    return root + rest;
}

std::optional<std::string> hostPath(std::u16string_view path) {
    return hostPath(platform::utf16ToUtf8(path));
}

std::string windowsPath(std::string_view linuxPath) {
    const std::string driveC = driveCFolder();
    std::string prefix = "Z:";
    std::string_view rest = linuxPath;
    if (linuxPath == driveC) {
        return "C:\\";
    }
    if (linuxPath.size() > driveC.size() && linuxPath.substr(0, driveC.size()) == driveC &&
        linuxPath[driveC.size()] == '/') {
        prefix = "C:";
        rest = linuxPath.substr(driveC.size());
    }
    std::string out = prefix;
    out.append(rest);
    for (std::size_t i = prefix.size(); i < out.size(); ++i) {
        if (out[i] == '/') out[i] = '\\';
    }
    if (out.size() == prefix.size()) out.push_back('\\');
    return out;
}

}  // namespace winplatform
