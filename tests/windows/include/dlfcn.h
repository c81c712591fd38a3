// Loading a module for the tests on Windows, under the names the Linux
// tests use: LoadLibraryW, for the plug-in's tests with the module's
// imports counted (import_counters.cpp).
#pragma once

inline constexpr int RTLD_NOW = 2;
inline constexpr int RTLD_LOCAL = 0;
inline constexpr int RTLD_NOLOAD = 4;

// Each program's own (import_counters.cpp counts the module's imports; the
// platform tests' tests/platform/win32/module_loading.cpp does not), built
// on loadModule, the system's loading (module_loading.cpp).
void* dlopen(const char* file, int mode);
void* loadModule(const char* file, int mode);
void* dlsym(void* module, const char* name);
int dlclose(void* module);
const char* dlerror();
