#include "gdi_objects.h"

#include "winplatform/diagnostics.h"
#include "winplatform/errors.h"
#include "winplatform/gdi.h"

#include <map>
#include <mutex>

namespace winplatform {
namespace {

struct Table {
    std::mutex mutex;
    std::map<ULONG_PTR, std::shared_ptr<GdiObject>> objects;
    // Far from the kernel handles' numbers, so that neither kind of handle
    // is mistaken for the other when read in a trace.
    ULONG_PTR next = 0x05000000;
};

Table& table() {
    static Table instance;
    return instance;
}

}  // namespace

void* addGdiObject(std::shared_ptr<GdiObject> object) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    const ULONG_PTR key = t.next;
    t.next += 4;
    t.objects.emplace(key, std::move(object));
    return reinterpret_cast<void*>(key);
}

std::shared_ptr<GdiObject> findGdiObject(const void* handle) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.objects.find(reinterpret_cast<ULONG_PTR>(handle));
    return it == t.objects.end() ? nullptr : it->second;
}

std::size_t liveGdiObjectCount() {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.objects.size();
}

}  // namespace winplatform

WINPLATFORM_API BOOL WINAPI DeleteObject(HGDIOBJ object) {
    using namespace winplatform;
    std::shared_ptr<GdiObject> deleting;
    {
        Table& t = table();
        std::lock_guard lock(t.mutex);
        const auto it = t.objects.find(reinterpret_cast<ULONG_PTR>(object));
        if (it == t.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        deleting = std::move(it->second);
        t.objects.erase(it);
    }
    return TRUE;  // the object is destroyed here, outside the lock
}

WINPLATFORM_API int WINAPI GetObjectW(HANDLE object, int size, LPVOID buffer) {
    const auto found = winplatform::findGdiObject(object);
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return found->describe(size, buffer);
}
