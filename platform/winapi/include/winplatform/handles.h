#pragma once

#include "winplatform/types.h"

// Closes a handle of any kind this library hands out (files, processes).
WINPLATFORM_API BOOL WINAPI CloseHandle(HANDLE handle);
