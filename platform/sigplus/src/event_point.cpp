#include "event_point.h"

#include <platform/com_object.h>

#include <algorithm>
#include <new>

namespace sigplus {

EventPoint::~EventPoint() {
    for (auto& [cookie, sink] : sinks_) sink->Release();
}

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
    void* found = nullptr;
    if (FAILED(sink->QueryInterface(events_, &found)) && FAILED(sink->QueryInterface(IID_IDispatch, &found))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    auto* dispatch = static_cast<IDispatch*>(found);
    try {
        sinks_.emplace_back(nextCookie_, dispatch);
    } catch (const std::bad_alloc&) {
        dispatch->Release();
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT EventPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first != cookie) continue;
        IDispatch* sink = it->second;
        sinks_.erase(it);
        sink->Release();
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT EventPoint::EnumConnections(IEnumConnections** connections) {
    if (connections != nullptr) *connections = nullptr;
    return E_NOTIMPL;
}

void EventPoint::fire(DISPID event) {
    // The sinks of this moment, each held for its call.
    std::vector<std::pair<DWORD, IDispatch*>> now;
    try {
        now = sinks_;
    } catch (const std::bad_alloc&) {
        return;
    }
    for (auto& [cookie, sink] : now) sink->AddRef();
    for (auto& [cookie, sink] : now) {
        const bool advised = std::any_of(sinks_.begin(), sinks_.end(), [&](const auto& s) { return s.first == cookie; });
        if (advised) {
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            sink->Invoke(event, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
        }
        sink->Release();
    }
}

}  // namespace sigplus
