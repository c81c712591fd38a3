#include "gdi_objects.h"

#include "numbered_table.h"
#include "process_state.h"

#include "winplatform/diagnostics.h"
#include "winplatform/errors.h"
#include "winplatform/gdi.h"


namespace winplatform {
namespace {

// Far from the kernel handles' numbers, so that neither kind of handle is
// mistaken for the other when read in a trace.
using GdiTable = NumberedTable<std::shared_ptr<GdiObject>>;

GdiTable& table() {
    static GdiTable& instance =
        detail::processShared<GdiTable>("gdi.objects", [](void* storage) { new (storage) GdiTable(0x05000000); });
    return instance;
}

}  // namespace

void* addGdiObject(std::shared_ptr<GdiObject> object) { return table().add(std::move(object)); }

std::shared_ptr<GdiObject> findGdiObject(const void* handle) { return table().find(handle); }

std::size_t liveGdiObjectCount() { return table().size(); }

}  // namespace winplatform

WINPLATFORM_API BOOL WINAPI DeleteObject(HGDIOBJ object) {
    if (!winplatform::table().remove(object)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

WINPLATFORM_API int WINAPI GetObjectW(HANDLE object, int size, LPVOID buffer) {
    const auto found = winplatform::findGdiObject(object);
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return found->describe(size, buffer);
}
