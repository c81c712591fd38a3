// A shared object that is not a plug-in: it exports a function, but not
// FMExternCallProc.
extern "C" __attribute__((visibility("default"))) int notAPluginEntry() { return 7; }
