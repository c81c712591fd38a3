// Whether the plug-in opened a window while one entry call ran, so that
// fmhost can say when a preferences request showed nothing (a plug-in
// without preferences answers it quietly).
#pragma once

#include <cstddef>

namespace fmhost {

class DialogWatch {
public:
    DialogWatch();
    ~DialogWatch();
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;

    bool sawWindow() const;

private:
    std::size_t start_ = 0;
    [[maybe_unused]] void* hook_ = nullptr;  // the Windows build's window hook
};

// Counted by the Linux platform's dialogs, each of which asks fmhost's
// input source for its input as it opens.
std::size_t dialogInputRequests();
void countDialogInputRequest();

}  // namespace fmhost
