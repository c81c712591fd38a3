// Loading a module for the plug-in's tests on Windows, under the names the
// Linux tests use: LoadLibraryW, with the module's imports counted
// (import_counters.cpp).
#pragma once

inline constexpr int RTLD_NOW = 2;
inline constexpr int RTLD_LOCAL = 0;
inline constexpr int RTLD_NOLOAD = 4;

void* dlopen(const char* file, int mode);
void* dlsym(void* module, const char* name);
int dlclose(void* module);
const char* dlerror();
