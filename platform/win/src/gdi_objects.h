// The table behind every GDI object handle. Like the kernel handle table, a
// handle is a number, never an address, and numbers are not reused, so a
// deleted or forged handle is refused. GDI objects have a table of their own
// because DeleteObject must not close a file, nor CloseHandle a bitmap.
#pragma once

#include "winplatform/types.h"

#include <memory>

namespace winplatform {

class GdiObject {
public:
    virtual ~GdiObject() = default;
    // GetObjectW for this kind of object.
    virtual int describe(int size, LPVOID buffer) const = 0;
};

// Takes ownership; the object is destroyed by DeleteObject.
void* addGdiObject(std::shared_ptr<GdiObject> object);

// The object behind a handle while it is live. Shared, so that a reader
// keeps it intact even if another thread deletes the handle meanwhile.
std::shared_ptr<GdiObject> findGdiObject(const void* handle);
template <typename T>
std::shared_ptr<T> findGdiObjectAs(const void* handle) {
    return std::dynamic_pointer_cast<T>(findGdiObject(handle));
}

}  // namespace winplatform
