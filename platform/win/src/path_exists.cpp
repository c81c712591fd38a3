#include <shlwapi.h>

#include "winplatform/codepages.h"
#include "file_names.h"
#include "winplatform/errors.h"

#include <sys/stat.h>

#include <string>

WINPLATFORM_API BOOL WINAPI PathFileExistsW(LPCWSTR path) {
    if (path == nullptr || *path == 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    DWORD refused = ERROR_SUCCESS;
    const std::optional<std::string> host = winplatform::hostPathOfFile(std::u16string_view(path), &refused);
    if (!host) {
        SetLastError(refused);
        return FALSE;
    }
    struct stat info {};
    if (::stat(host->c_str(), &info) != 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

// Narrow paths are in the ANSI code page, as on Windows: they are widened
// first so that both forms name the same file.
WINPLATFORM_API BOOL WINAPI PathFileExistsA(LPCSTR path) {
    if (path == nullptr || *path == '\0') {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    const int units = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (units <= 0) return FALSE;
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), units) != units) return FALSE;
    return PathFileExistsW(wide.c_str());
}
