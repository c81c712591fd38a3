// The platform's state, one per process, as Windows keeps one set of system
// DLLs per process whatever the modules loaded into it.
//
// This library is linked into several kinds of files: as libwinplatform.so
// into programs (the host program, the tests), and with its symbols hidden
// into modules that must stand alone (the plug-in module and the pad control
// that a FileMaker Server loads, where no such library exists). Every copy
// keeps its process-wide and per-thread state through the functions below.
// libwinplatform.so offers its state under one exported name; a hidden copy
// that finds that name in the process's global scope uses that state, so
// that handles, class registrations, the input source, message boxes and the
// counters seen by tests are shared by every module, as on Windows. A copy
// that finds none keeps its own.
//
// Objects placed in the shared state are made on first use and never
// destroyed: a module that made one may be unloaded before the process ends,
// and its destructor code with it. Their memory stays reachable. A copy that
// keeps its own state destroys it when its module is unloaded, after every
// other static object of the module.
#pragma once

#include <cstddef>
#include <new>
#include <string>

namespace winplatform::detail {

using Construct = void (*)(void* storage);
using Destroy = void (*)(void* storage);

// How a slot's object is made and, by a copy that keeps its own state,
// destroyed.
struct SlotType {
    std::size_t size;
    std::size_t alignment;
    Construct construct;
    Destroy destroy;
};

// Storage for the object named `key`, made and constructed on first use
// (under the state's lock), for the whole process or for the calling thread.
void* processSlot(const char* key, const SlotType& type);
void* threadSlot(const char* key, const SlotType& type);

// Whether this is a hidden copy that found no libwinplatform.so in the
// process: the module stands alone, as in a FileMaker Server.
bool standsAlone();

template <typename T>
void constructDefault(void* storage) {
    new (storage) T();
}

template <typename T>
void destroyDefault(void* storage) {
    static_cast<T*>(storage)->~T();
}

// The object of type T named `key` for the whole process. Each copy is built
// from the same sources, so T has the same layout in all of them; its size
// is part of the name, so that a copy from another build never takes it.
template <typename T>
T& processShared(const char* key, Construct construct = &constructDefault<T>) {
    const std::string name = std::string(key) + "/" + std::to_string(sizeof(T));
    return *static_cast<T*>(processSlot(name.c_str(), {sizeof(T), alignof(T), construct, &destroyDefault<T>}));
}

// The same for the calling thread: one object per thread and key.
template <typename T>
T& threadShared(const char* key) {
    const std::string name = std::string(key) + "/" + std::to_string(sizeof(T));
    return *static_cast<T*>(threadSlot(name.c_str(), {sizeof(T), alignof(T), &constructDefault<T>, &destroyDefault<T>}));
}

}  // namespace winplatform::detail
