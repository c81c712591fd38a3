// Process status services: the processes of the system and the modules of a
// process, read from /proc.
#pragma once

#include "winplatform/types.h"

// The IDs of the running processes, as many as fit in `bytes` bytes, in the
// order /proc lists them; `*bytesReturned` is the number of bytes written.
// As on Windows, a full buffer may have left some out: ask again with more
// room until the answer is shorter than the buffer. WIN_PROCESS_WORLD and
// WIN_ENDED_PROCESSES in the environment narrow and lengthen the list
// (process_list.cpp).
WINPLATFORM_API BOOL WINAPI EnumProcesses(DWORD* processIds, DWORD bytes, DWORD* bytesReturned);

// The modules of an opened process. This platform lists one: the process's
// main executable, as it was when the process was opened. `*bytesNeeded` is
// the size needed for all of them. Fails with ERROR_PARTIAL_COPY for a
// process that had ended when it was opened, or has no executable (a kernel
// thread), or whose ID no process has any more (noticed once the handle is
// older than kProcessFoundRunningMs); with ERROR_ACCESS_DENIED
// when the handle lacks PROCESS_QUERY_INFORMATION or PROCESS_VM_READ.
WINPLATFORM_API BOOL WINAPI EnumProcessModules(HANDLE process, HMODULE* modules, DWORD bytes, DWORD* bytesNeeded);

// The file name (without folder) of a module of an opened process; a null
// module stands for the main executable. At most size - 1 units are copied,
// then a terminator; returns the units copied, 0 on failure.
WINPLATFORM_API DWORD WINAPI GetModuleBaseNameW(HANDLE process, HMODULE module, LPWSTR baseName, DWORD size);
