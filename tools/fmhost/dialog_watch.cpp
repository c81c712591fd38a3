#include "dialog_watch.h"

#include <atomic>

namespace fmhost {
namespace {
std::atomic<std::size_t> requests{0};
}

std::size_t dialogInputRequests() { return requests.load(); }
void countDialogInputRequest() { ++requests; }

#if !defined(_WIN32)
// A dialog of the Linux platform has no window: it shows by asking for input.
DialogWatch::DialogWatch() : start_(dialogInputRequests()) {}
DialogWatch::~DialogWatch() = default;
bool DialogWatch::sawWindow() const { return dialogInputRequests() != start_; }
#endif

}  // namespace fmhost
