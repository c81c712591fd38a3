#include "handle_table.h"

#include "numbered_table.h"
#include "process_state.h"
#include "winplatform/errors.h"
#include "winplatform/handles.h"

namespace winplatform {
namespace {

using HandleTable = NumberedTable<std::unique_ptr<HandleObject>>;

HandleTable& table() {
    static HandleTable& instance =
        detail::processShared<HandleTable>("kernel.handles", [](void* storage) { new (storage) HandleTable(0x100); });
    return instance;
}

}  // namespace

HANDLE addHandle(std::unique_ptr<HandleObject> object) { return table().add(std::move(object)); }

HandleObject* findHandle(HANDLE handle) { return table().find(handle); }

std::size_t openHandleCount() { return table().size(); }

}  // namespace winplatform

WINPLATFORM_API BOOL WINAPI CloseHandle(HANDLE handle) {
    if (!winplatform::table().remove(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
