// What every small COM object of this project needs, written once: the
// reference count of an object on the heap, and QueryInterface over a list
// of the interfaces it answers for. Plain C++ over the COM types: the Linux
// platform library's on Linux, the system's on Windows.
#pragma once

#include <unknwn.h>

#include <atomic>
#include <initializer_list>

namespace platform {

// One interface an object answers for, and the pointer it gives for it.
struct InterfaceEntry {
    IID iid;
    void* pointer;
};

// QueryInterface: `identity` for IUnknown, the entry's pointer for each
// interface listed, E_NOINTERFACE (and a null pointer) for any other. The
// object gains a reference for what it gives.
inline HRESULT answerQuery(IUnknown* identity, REFIID riid, void** object,
                           std::initializer_list<InterfaceEntry> interfaces) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (riid == IID_IUnknown) {
        *object = identity;
    } else {
        for (const InterfaceEntry& entry : interfaces) {
            if (entry.iid == riid) {
                *object = entry.pointer;
                break;
            }
        }
    }
    if (*object == nullptr) return E_NOINTERFACE;
    identity->AddRef();
    return S_OK;
}

// A COM object on the heap made of the given interfaces: it is born with
// one reference and deletes itself when the last one goes.
template <typename... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    std::atomic<ULONG> references_{1};
};

// A reference held for a scope: an object whose callers may let go of it
// while it runs (inside an event) stays alive until the scope ends.
template <typename Object>
class ComHold {
public:
    explicit ComHold(Object& object) : object_(object) { object_.AddRef(); }
    ~ComHold() { object_.Release(); }
    ComHold(const ComHold&) = delete;
    ComHold& operator=(const ComHold&) = delete;

private:
    Object& object_;
};

}  // namespace platform
