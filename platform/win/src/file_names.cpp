#include "file_names.h"

#include "winplatform/drive_map.h"
#include "winplatform/errors.h"

namespace winplatform {
namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool isDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool isRefusedCharacter(char16_t c) {
    return c < 0x20 || c == u'<' || c == u'>' || c == u'"' || c == u'|' || c == u'?' || c == u'*';
}

}  // namespace

std::optional<std::string> hostPathOfFile(std::u16string_view path, DWORD* error) {
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        *error = ERROR_BAD_NETPATH;
        return std::nullopt;
    }
    const bool drive = path.size() >= 2 && isDriveLetter(path[0]) && path[1] == u':';
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (isRefusedCharacter(path[i]) || (path[i] == u':' && !(drive && i == 1))) {
            *error = ERROR_INVALID_NAME;
            return std::nullopt;
        }
    }
    std::optional<std::string> host = hostPath(path);
    if (!host) *error = ERROR_PATH_NOT_FOUND;
    return host;
}

}  // namespace winplatform
