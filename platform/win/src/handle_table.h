// The table behind every HANDLE this library hands out. A handle is a small
// number cast to a pointer, never the address of the object, so a stale or
// forged handle is refused instead of followed.
#pragma once

#include "winplatform/diagnostics.h"
#include "winplatform/types.h"

#include <cstddef>
#include <memory>

namespace winplatform {

class HandleObject {
public:
    virtual ~HandleObject() = default;
};

// Takes ownership; the object is destroyed by CloseHandle.
HANDLE addHandle(std::unique_ptr<HandleObject> object);

// The object behind a handle, if it is of type T and still open.
HandleObject* findHandle(HANDLE handle);
template <typename T>
T* findHandleAs(HANDLE handle) {
    return dynamic_cast<T*>(findHandle(handle));
}

}  // namespace winplatform
