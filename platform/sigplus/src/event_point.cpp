#include "event_point.h"

#include <platform/com_object.h>

#include <algorithm>
#include <new>

namespace sigplus {

HRESULT EventPoint::QueryInterface(REFIID riid, void** object) {
    IConnectionPoint* self = this;
    return platform::answerQuery(self, riid, object, {{IID_IConnectionPoint, self}});
}

HRESULT EventPoint::GetConnectionInterface(IID* iid) {
    if (iid == nullptr) return E_POINTER;
    *iid = events_;
    return S_OK;
}

HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (container == nullptr) return E_POINTER;
    *container = &container_;
    container_.AddRef();
    return S_OK;
}

HRESULT EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (cookie == nullptr) return E_POINTER;
    *cookie = 0;
    if (sink == nullptr) return E_POINTER;
    auto dispatch = platform::queryInterface<IDispatch>(sink, events_);
    if (!dispatch) dispatch = platform::queryInterface<IDispatch>(sink, IID_IDispatch);
    if (!dispatch) return CONNECT_E_CANNOTCONNECT;
    try {
        sinks_.emplace_back(nextCookie_, std::move(dispatch));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT EventPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first != cookie) continue;
        // Let go of after the erase: the sink's release may call back.
        const platform::ComPtr<IDispatch> sink = std::move(it->second);
        sinks_.erase(it);
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT EventPoint::EnumConnections(IEnumConnections** connections) {
    if (connections != nullptr) *connections = nullptr;
    return E_NOTIMPL;
}

void EventPoint::fire(DISPID event) {
    // The sinks of this moment, each held until all have been called.
    std::vector<std::pair<DWORD, platform::ComPtr<IDispatch>>> now;
    try {
        now = sinks_;
    } catch (const std::bad_alloc&) {
        return;
    }
    for (auto& [cookie, sink] : now) {
        const bool advised = std::any_of(sinks_.begin(), sinks_.end(), [&](const auto& s) { return s.first == cookie; });
        if (!advised) continue;
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        sink->Invoke(event, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    }
}

}  // namespace sigplus
