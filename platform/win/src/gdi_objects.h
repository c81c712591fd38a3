// The table behind every GDI object handle. Like the kernel handle table, a
// handle is a number, never an address, and numbers are not reused, so a
// deleted or forged handle is refused. GDI objects have a table of their own
// because DeleteObject must not close a file, nor CloseHandle a bitmap.
#pragma once

#include "winplatform/types.h"

#include <memory>

namespace winplatform {

// What a GDI object is: a tag rather than its C++ type, as for handles
// (handle_table.h).
enum class GdiKind { Bitmap };

class GdiObject {
public:
    explicit GdiObject(GdiKind kind) : kind_(kind) {}
    virtual ~GdiObject() = default;
    GdiKind kind() const { return kind_; }
    // GetObjectW for this kind of object.
    virtual int describe(int size, LPVOID buffer) const = 0;

private:
    GdiKind kind_;
};

// Takes ownership; the object is destroyed by DeleteObject.
void* addGdiObject(std::shared_ptr<GdiObject> object);

// The object behind a handle while it is live. Shared, so that a reader
// keeps it intact even if another thread deletes the handle meanwhile.
std::shared_ptr<GdiObject> findGdiObject(const void* handle);
template <typename T>
std::shared_ptr<T> findGdiObjectAs(const void* handle) {
    std::shared_ptr<GdiObject> object = findGdiObject(handle);
    if (object == nullptr || object->kind() != T::kKind) return nullptr;
    return std::static_pointer_cast<T>(std::move(object));
}

}  // namespace winplatform
