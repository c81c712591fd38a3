// Pen input and the control's events: the container finds the event
// interface and its connection point, and each pen-down fires PenDown.
#include "control_class.h"

#include "journal_store.h"
#include "sigplus/pen_record.h"

#include <new>
#include <optional>
#include <string_view>

namespace sigplus {

HRESULT Control::GetClassInfo(ITypeInfo** typeInfo) {
    if (typeInfo != nullptr) *typeInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT Control::GetGUID(DWORD kind, GUID* guid) {
    if (guid == nullptr) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = DIID_SigPlusEvents;
    return S_OK;
}

HRESULT Control::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points != nullptr) *points = nullptr;
    return E_NOTIMPL;
}

HRESULT Control::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (point == nullptr) return E_POINTER;
    *point = nullptr;
    if (iid != DIID_SigPlusEvents) return CONNECT_E_NOCONNECTION;
    *point = &events_;
    events_.AddRef();
    return S_OK;
}

void Control::firePenDown() {
    appendJournal(number_, dispid::PenDown, CallKind::Event, nullptr, S_OK, {});
    events_.fire(dispid::PenDown);
}

void Control::recordPen(const PenInput& pen) {
    members_.recordPen(pen);
    inkChanged();
}

HRESULT Control::takePenRecord(std::string_view record, bool present) {
    if (!present && !record.empty()) return E_POINTER;
    try {
        const std::optional<PenInput> pen = parsePenInput(record);
        if (!pen) return E_INVALIDARG;
        // The container's handler runs inside the event and may let go of
        // the control; it stays until the input is taken.
        const platform::ComHold hold(*this);
        members_.penDown(pen->points.front());
        firePenDown();
        recordPen(*pen);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

#ifndef _WIN32
void Control::inkChanged() {}
#endif

}  // namespace sigplus
