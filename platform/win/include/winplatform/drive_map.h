// How Windows path notation meets the Linux file system.
//
// A path with a drive letter is mapped to a folder: drive C is the folder
// named by the environment variable WIN_DRIVE_C, or, when that is not set,
// "$HOME/.local/share/winplatform/drive_c" (falling back to
// "/tmp/winplatform/drive_c" without a HOME), which is made when it is first
// asked for, as Windows always has a drive C. Drive Z is the root of the Linux
// file system, as emulators show it. Any other drive letter maps to nothing.
// After the drive, "\" and "/" both separate names.
//
// Every other path (a POSIX path, a relative path) is used as it is given.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace winplatform {

// The Linux folder that drive C stands for.
std::string driveCFolder();

// The Linux path for a path in Windows or POSIX notation; nothing for a drive
// that maps to no folder.
std::optional<std::string> hostPath(std::string_view path);
std::optional<std::string> hostPath(std::u16string_view path);

// The Windows notation for an absolute Linux path: inside drive C's folder
// it is "C:\...", anywhere else "Z:\...".
std::string windowsPath(std::string_view linuxPath);

}  // namespace winplatform
