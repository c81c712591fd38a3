#include "winplatform/message_box.h"

#include "process_state.h"

#include "platform/utf.h"
#include "winplatform/diagnostics.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace winplatform {
namespace {

struct Shown {
    std::mutex mutex;
    std::vector<std::u16string> texts;
};

Shown& shown() {
    static Shown& instance = detail::processShared<Shown>("user.message_boxes");
    return instance;
}

}  // namespace

std::vector<std::u16string> messageBoxes() {
    std::lock_guard lock(shown().mutex);
    return shown().texts;
}

void clearMessageBoxes() {
    std::lock_guard lock(shown().mutex);
    shown().texts.clear();
}

}  // namespace winplatform

WINPLATFORM_API int WINAPI MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT) {
    const std::u16string body = text != nullptr ? text : u"";
    const std::u16string title = caption != nullptr ? caption : u"Error";
    std::fprintf(stderr, "message box: %s: %s\n", platform::utf16ToUtf8(title).c_str(),
                 platform::utf16ToUtf8(body).c_str());
    std::lock_guard lock(winplatform::shown().mutex);
    winplatform::shown().texts.push_back(body);
    return IDOK;
}
