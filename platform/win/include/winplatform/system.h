#pragma once

#include "winplatform/types.h"

// Blocks the calling thread for the given number of milliseconds.
WINPLATFORM_API void WINAPI Sleep(DWORD milliseconds);
