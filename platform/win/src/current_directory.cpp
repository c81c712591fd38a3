#include "winplatform/codepages.h"
#include "winplatform/drive_map.h"
#include "winplatform/errors.h"
#include "winplatform/system.h"

#include "platform/utf.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

WINPLATFORM_API DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    // getcwd with no buffer allocates one of the size needed, so a folder
    // deeper than any fixed limit is still read whole.
    const std::unique_ptr<char, decltype(&std::free)> linuxPath(::getcwd(nullptr, 0), &std::free);
    if (!linuxPath) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    const std::u16string wide = platform::utf8ToUtf16(winplatform::windowsPath(linuxPath.get()));
    const int wideLength = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (needed <= 0 && wideLength > 0) return 0;
    const auto length = static_cast<DWORD>(needed);
    if (buffer == nullptr || bufferLength < length + 1) return length + 1;
    if (length > 0 &&
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, buffer, needed, nullptr, nullptr) != needed) {
        return 0;
    }
    buffer[length] = '\0';
    return length;
}
