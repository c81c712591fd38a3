// How a Linux module carries its resources: the bytes of the compiled
// resource file (.res, as windres writes it) under two exported symbols.
// The resource functions find them through the module handle with dlsym,
// as Windows finds a DLL's resource section through its instance handle.
#pragma once

#include <cstddef>

#define WINPLATFORM_RESOURCE_BYTES_SYMBOL "winplatform_resource_bytes"
#define WINPLATFORM_RESOURCE_SIZE_SYMBOL "winplatform_resource_size"
