#include <afxwin.h>

namespace {
const AFX_MSGMAP* noBaseMap() { return nullptr; }
const AFX_MSGMAP_ENTRY emptyEntries[] = {{0, 0, 0, 0, 0, nullptr}};
const AFX_MSGMAP rootMap = {&noBaseMap, &emptyEntries[0]};
}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() { return &rootMap; }
const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr; map = map->pfnGetBaseMap()) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != 0 || entry->pfn != nullptr; ++entry) {
            if (entry->nMessage == message && entry->nCode == code && id >= entry->nID && id <= entry->nLastID) {
                return entry;
            }
        }
    }
    return nullptr;
}
