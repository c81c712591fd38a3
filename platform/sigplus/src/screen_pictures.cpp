#include "screen_pictures.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace sigplus {
namespace {

std::atomic<unsigned> picturesSaved{0};

std::optional<std::filesystem::path> folderFromEnvironment() {
    const char* folder = std::getenv(kScreensVariable);
    if (folder == nullptr || *folder == '\0') return std::nullopt;
    return std::filesystem::path(folder);
}

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
