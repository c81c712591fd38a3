// Paths as FileMaker writes them. Get( TemporaryPath ) and Get( DocumentsPath )
// give "/C:/Users/…/Temp/S10/", and a container's file reference carries
// "file:", "filewin:" or "filelinux:" before such a path; the system reads
// neither form, so a script that passes one on would fail (see
// docs/compatibility.md).
#pragma once

#include <string>
#include <string_view>

namespace zera {

// The native path for a whole path in FileMaker's notation: the reference
// prefix dropped, and the slash before a drive letter ("/C:/…") too. Any
// other path comes back unchanged.
std::u16string nativePath(std::u16string_view path);

}  // namespace zera
