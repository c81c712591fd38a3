// The platform tests load modules with the system's loader and nothing
// counted: these programs test the system itself, not a module's use of it.
#include <dlfcn.h>

void* dlopen(const char* file, int mode) { return loadModule(file, mode); }
