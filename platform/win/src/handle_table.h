// The table behind every HANDLE this library hands out. A handle is a small
// number cast to a pointer, never the address of the object, so a stale or
// forged handle is refused instead of followed.
#pragma once

#include "winplatform/diagnostics.h"
#include "winplatform/types.h"

#include <cstddef>
#include <memory>

namespace winplatform {

// What an object behind a handle is: a tag rather than its C++ type, since a
// module with its own copy of this library has its own types of the same
// name (see process_state.h).
enum class HandleKind { ActivationContext, File, Process };

class HandleObject {
public:
    explicit HandleObject(HandleKind kind) : kind_(kind) {}
    virtual ~HandleObject() = default;
    HandleKind kind() const { return kind_; }

private:
    HandleKind kind_;
};

// Takes ownership; the object is destroyed by CloseHandle.
HANDLE addHandle(std::unique_ptr<HandleObject> object);

// The object behind a handle, if it is of type T and still open.
HandleObject* findHandle(HANDLE handle);
template <typename T>
T* findHandleAs(HANDLE handle) {
    HandleObject* object = findHandle(handle);
    return object != nullptr && object->kind() == T::kKind ? static_cast<T*>(object) : nullptr;
}

}  // namespace winplatform
