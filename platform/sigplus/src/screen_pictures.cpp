#include "screen_pictures.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace sigplus {
namespace {

std::atomic<unsigned> picturesSaved{0};

#ifdef _WIN32
// The process's own environment block, which a host changes with
// SetEnvironmentVariableW (the C runtime's copy does not see that).
std::optional<std::filesystem::path> folderFromEnvironment() {
    std::wstring name(kScreensVariable, kScreensVariable + std::char_traits<char>::length(kScreensVariable));
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(name.c_str(), folder.data(), static_cast<DWORD>(folder.size()));
        if (length == 0) return std::nullopt;
        if (length < folder.size()) {
            folder.resize(length);
            return std::filesystem::path(folder);
        }
        folder.assign(length, L'\0');
    }
}
#else
std::optional<std::filesystem::path> folderFromEnvironment() {
    const char* folder = std::getenv(kScreensVariable);
    if (folder == nullptr || *folder == '\0') return std::nullopt;
    return std::filesystem::path(folder);
}
#endif

}  // namespace

ScreenPictures::ScreenPictures() : folder_(folderFromEnvironment()) {}

void ScreenPictures::offer(const PadScreen& screen) {
    if (screen == last_) return;
    last_ = screen;
    if (!folder_) return;
    char name[32];
    std::snprintf(name, sizeof name, "screen-%03u.png", ++picturesSaved);
    screen.savePng(*folder_ / name);
}

}  // namespace sigplus
