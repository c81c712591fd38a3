// What the control's library exports besides its COM entries.
#pragma once

#ifdef _WIN32
// The DLL's export table is its .def file.
#define SIGPLUS_API
#else
#define SIGPLUS_API __attribute__((visibility("default")))
#endif
