// The class registry of this platform: which shared library serves a COM
// class in process. It plays the part of the InprocServer32 keys of the
// Windows registry; nothing is stored on disk.
//
// A class is found among the registrations made by the running program and
// then in the environment variable WINPLATFORM_INPROC_SERVERS, read at each
// lookup: entries "{CLSID}=/path/to/library.so" separated by ';'. Malformed
// entries are skipped. A program registers the libraries it ships (a host
// program, the control's library beside it); the variable lets a user or a
// test point a program at a server without changing it.
//
// CoGetClassObject loads a server with dlopen the first time it is needed and
// keeps it loaded for the life of the process, so that no object's code goes
// away under a reference that a program forgot to release.
#pragma once

#include "guiddef.h"
#include "winerror.h"

#include <optional>
#include <string>
#include <string_view>

namespace winplatform {

inline constexpr const char* kInprocServersVariable = "WINPLATFORM_INPROC_SERVERS";

// Registers (or replaces) the library that serves a class. E_INVALIDARG for
// an empty path.
HRESULT registerInprocServer(REFCLSID clsid, std::string_view libraryPath);
// Removes a registration made by the program: S_OK, or S_FALSE when there
// was none. Entries of the environment variable are not affected.
HRESULT unregisterInprocServer(REFCLSID clsid);
// The library that serves a class, if any.
std::optional<std::string> inprocServerPath(REFCLSID clsid);

}  // namespace winplatform
