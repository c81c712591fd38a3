#include "handle_table.h"

#include "winplatform/errors.h"

#include <map>
#include <mutex>

namespace winplatform {
namespace {

struct Table {
    std::mutex mutex;
    std::map<ULONG_PTR, std::unique_ptr<HandleObject>> objects;
    ULONG_PTR next = 0x100;
};

Table& table() {
    static Table instance;
    return instance;
}

}  // namespace

HANDLE addHandle(std::unique_ptr<HandleObject> object) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    const ULONG_PTR key = t.next;
    t.next += 4;
    t.objects.emplace(key, std::move(object));
    return reinterpret_cast<HANDLE>(key);
}

HandleObject* findHandle(HANDLE handle) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.objects.find(reinterpret_cast<ULONG_PTR>(handle));
    return it == t.objects.end() ? nullptr : it->second.get();
}

std::size_t openHandleCount() {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.objects.size();
}

}  // namespace winplatform

WINPLATFORM_API BOOL WINAPI CloseHandle(HANDLE handle) {
    using namespace winplatform;
    std::unique_ptr<HandleObject> closing;
    {
        Table& t = table();
        std::lock_guard lock(t.mutex);
        const auto it = t.objects.find(reinterpret_cast<ULONG_PTR>(handle));
        if (it == t.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        closing = std::move(it->second);
        t.objects.erase(it);
    }
    return TRUE;  // the object is destroyed here, outside the lock
}
