// The names Windows refuses as file names, refused here too before a path
// reaches the Linux file system, where almost any byte is a valid name.
#pragma once

#include "winplatform/types.h"

#include <optional>
#include <string>
#include <string_view>

namespace winplatform {

// The Linux path of a file named by a Windows or POSIX path; nothing, with
// the error Windows gives in *error, for a name Windows refuses:
//   ERROR_INVALID_NAME  a control character, or one of < > " | ? *, or a
//                       colon anywhere but after the drive letter;
//   ERROR_BAD_NETPATH   a network path (\\server\share\...): this machine
//                       reaches no server;
//   ERROR_PATH_NOT_FOUND  a drive that maps to no folder.
std::optional<std::string> hostPathOfFile(std::u16string_view path, DWORD* error);

}  // namespace winplatform
