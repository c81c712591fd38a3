// What the tests' fake controls share, on both systems: a class factory
// that makes their objects, its registration as the class's object for the
// test's thread, saved state read whole from a stream, their one source of
// events, and a connection point's bookkeeping for one sink.
#pragma once

#include <platform/com_object.h>
#include <platform/com_ptr.h>

#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace testsupport {

// Everything the stream holds from where it stands.
inline std::vector<BYTE> readWholeStream(IStream* stream) {
    std::vector<BYTE> bytes;
    BYTE chunk[256];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(chunk, sizeof chunk, &read)) && read > 0) {
        bytes.insert(bytes.end(), chunk, chunk + read);
    }
    return bytes;
}

// A class factory whose objects come from `make`, which returns an object
// holding one reference (or null when it cannot make one).
class FakeClassFactory final : public platform::ComObject<IClassFactory> {
public:
    explicit FakeClassFactory(std::function<IUnknown*()> make) : make_(std::move(make)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        IClassFactory* self = this;
        return platform::answerQuery(self, riid, object, {{IID_IClassFactory, self}});
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        const auto made = platform::ComPtr<IUnknown>::adopt(make_());
        return made ? made->QueryInterface(riid, object) : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ~FakeClassFactory() override = default;
    std::function<IUnknown*()> make_;
};

// COM for this thread and a FakeClassFactory registered as the class's
// object, from construction to destruction.
class ScopedClassObject {
public:
    ScopedClassObject(REFCLSID clsid, std::function<IUnknown*()> make) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const auto factory = platform::ComPtr<IClassFactory>::adopt(new FakeClassFactory(std::move(make)));
        if (FAILED(CoRegisterClassObject(clsid, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_))) {
            CoUninitialize();
            throw std::runtime_error("cannot register the fake control's class");
        }
    }
    ~ScopedClassObject() {
        revoke();
        CoUninitialize();
    }
    // The class is no longer served; COM stays initialised.
    void revoke() {
        if (cookie_ != 0) CoRevokeClassObject(std::exchange(cookie_, 0));
    }
    ScopedClassObject(const ScopedClassObject&) = delete;
    ScopedClassObject& operator=(const ScopedClassObject&) = delete;

private:
    DWORD cookie_ = 0;
};

// What a control with one source of events answers when asked for that
// source's interface (IProvideClassInfo2::GetGUID)...
inline HRESULT sourceInterfaceOf(DWORD kind, REFIID events, GUID* guid) {
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = events;
    return S_OK;
}

// ... and for its one connection point (IConnectionPointContainer::
// FindConnectionPoint), handed out with a reference of its own.
inline HRESULT onlyConnectionPoint(REFIID asked, REFIID events, IConnectionPoint* point, IConnectionPoint** found) {
    *found = nullptr;
    if (asked != events) return CONNECT_E_NOCONNECTION;
    point->AddRef();
    *found = point;
    return S_OK;
}

// A connection point's state: at most one sink, asked for `sinkInterface`,
// known by one cookie; `connected` counts the sinks advised, less those
// unadvised, so that a container that never lets go shows.
class OneSinkConnection {
public:
    OneSinkConnection(REFIID sinkInterface, DWORD cookie, int& connected)
        : sinkInterface_(sinkInterface), cookie_(cookie), connected_(connected) {}
    OneSinkConnection(const OneSinkConnection&) = delete;
    OneSinkConnection& operator=(const OneSinkConnection&) = delete;

    HRESULT advise(IUnknown* sink, DWORD* cookie) {
        if (sink_) return CONNECT_E_ADVISELIMIT;
        if (FAILED(sink->QueryInterface(sinkInterface_, sink_.putVoid()))) return CONNECT_E_CANNOTCONNECT;
        ++connected_;
        *cookie = cookie_;
        return S_OK;
    }
    HRESULT unadvise(DWORD cookie) {
        if (cookie != cookie_ || !sink_) return CONNECT_E_NOCONNECTION;
        sink_.reset();
        --connected_;
        return S_OK;
    }
    // Calls the sink's event method, if a sink is connected.
    void fire(DISPID event) {
        if (!sink_) return;
        const auto sink = sink_;  // the sink may let go of itself while it runs
        DISPPARAMS none{};
        sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    }

private:
    IID sinkInterface_;
    DWORD cookie_;
    int& connected_;
    platform::ComPtr<IDispatch> sink_;
};

}  // namespace testsupport
