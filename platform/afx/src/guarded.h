// How the framework runs a message handler: an exception out of it is shown
// in an error box, the rest of that handler is skipped and the dialog goes on.
#pragma once

#include <functional>

namespace afx {

void runGuarded(const std::function<void()>& handler);

}  // namespace afx
