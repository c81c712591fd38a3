#include "winplatform/headless_input.h"

#include "process_state.h"

#include <mutex>
#include <utility>

namespace winplatform {
namespace {

struct InstalledSource {
    std::mutex mutex;
    std::shared_ptr<InputSource> source;
};

InstalledSource& installed() {
    static InstalledSource& instance = detail::processShared<InstalledSource>("input.source");
    return instance;
}

}  // namespace

std::shared_ptr<InputSource> setInputSource(std::shared_ptr<InputSource> source) {
    std::lock_guard lock(installed().mutex);
    return std::exchange(installed().source, std::move(source));
}

bool hasScreen() { return !detail::standsAlone(); }

std::optional<InputEvent> nextInputEvent() {
    std::shared_ptr<InputSource> source;
    {
        std::lock_guard lock(installed().mutex);
        source = installed().source;
    }
    // Asked outside the lock: a source may install another while it runs.
    if (!source) return std::nullopt;
    return source->next();
}

}  // namespace winplatform
