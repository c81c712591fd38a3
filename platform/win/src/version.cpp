#include "winplatform/errors.h"
#include "winplatform/system.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

struct Version {
    DWORD major = 6;
    DWORD minor = 1;
    DWORD build = 7601;
    const char* servicePack = "Service Pack 1";
};

std::optional<DWORD> number(std::string_view& text) {
    DWORD value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        if (digits == 6) return std::nullopt;
        value = value * 10 + static_cast<DWORD>(text[digits] - '0');
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

Version configuredVersion() {
    const char* configured = std::getenv("WIN_VERSION");
    if (configured == nullptr) return {};
    std::string_view text(configured);
    const auto major = number(text);
    if (!major || text.empty() || text.front() != '.') return {};
    text.remove_prefix(1);
    const auto minor = number(text);
    if (!minor) return {};
    DWORD build = 0;
    if (!text.empty()) {
        if (text.front() != '.') return {};
        text.remove_prefix(1);
        const auto given = number(text);
        if (!given || !text.empty()) return {};
        build = *given;
    }
    return Version{*major, *minor, build, ""};
}

}  // namespace

WINPLATFORM_API BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD size = info->dwOSVersionInfoSize;
    if (size != sizeof(OSVERSIONINFOA) && size != sizeof(OSVERSIONINFOEXA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const Version version = configuredVersion();
    info->dwMajorVersion = version.major;
    info->dwMinorVersion = version.minor;
    info->dwBuildNumber = version.build;
    info->dwPlatformId =
        version.major == 4 && version.minor > 0 ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    std::strncpy(info->szCSDVersion, version.servicePack, sizeof info->szCSDVersion - 1);
    if (size == sizeof(OSVERSIONINFOEXA)) {
        auto* extended = reinterpret_cast<OSVERSIONINFOEXA*>(info);
        extended->wServicePackMajor = version.servicePack[0] != '\0' ? 1 : 0;
        extended->wServicePackMinor = 0;
        extended->wSuiteMask = 0;
        extended->wProductType = 1;  // a workstation
        extended->wReserved = 0;
    }
    return TRUE;
}
