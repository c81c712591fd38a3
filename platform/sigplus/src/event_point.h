// The control's connection point for its events: containers advise their
// sinks here and the control fires its events into them. The point lives
// inside the control and shares its lifetime: its references are the
// control's.
#pragma once

#include <ocidl.h>
#include <olectl.h>
#include <platform/com_ptr.h>

#include <utility>
#include <vector>

namespace sigplus {

class EventPoint final : public IConnectionPoint {
public:
    EventPoint(IUnknown& owner, IConnectionPointContainer& container, const IID& events)
        : owner_(owner), container_(container), events_(events) {}
    ~EventPoint() = default;
    EventPoint(const EventPoint&) = delete;
    EventPoint& operator=(const EventPoint&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    // The sink must answer the event interface or IDispatch.
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

    // Calls every sink advised now, in the order they came; a sink may
    // unadvise itself or others while it runs.
    void fire(DISPID event);

private:
    IUnknown& owner_;
    IConnectionPointContainer& container_;
    IID events_;
    std::vector<std::pair<DWORD, platform::ComPtr<IDispatch>>> sinks_;
    DWORD nextCookie_ = 1;
};

}  // namespace sigplus
