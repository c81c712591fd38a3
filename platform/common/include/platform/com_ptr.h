// An interface pointer that owns one reference: released when it goes, on
// every path. The one place outside the COM objects themselves where a
// reference is let go of by hand.
#pragma once

#include <unknwn.h>

#include <cstddef>
#include <utility>

namespace platform {

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ~ComPtr() { reset(); }

    // Takes over a reference the caller already holds.
    static ComPtr adopt(Interface* pointer) {
        ComPtr owned;
        owned.pointer_ = pointer;
        return owned;
    }
    // Adds a reference of its own to an object the caller only borrows.
    static ComPtr hold(Interface* pointer) {
        if (pointer != nullptr) pointer->AddRef();
        return adopt(pointer);
    }

    ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
        if (pointer_ != nullptr) pointer_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }

    void reset() {
        if (Interface* held = std::exchange(pointer_, nullptr)) held->Release();
    }
    // Hands the reference over to the caller.
    [[nodiscard]] Interface* detach() { return std::exchange(pointer_, nullptr); }

    // The out-parameter of a call that hands over a reference; what was
    // held before goes first.
    Interface** put() {
        reset();
        return &pointer_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // The object's interface `iid`, empty when it has none.
    template <typename Other>
    ComPtr<Other> query(REFIID iid) const {
        ComPtr<Other> found;
        if (pointer_ != nullptr && FAILED(pointer_->QueryInterface(iid, found.putVoid()))) found.reset();
        return found;
    }

private:
    Interface* pointer_ = nullptr;
};

// `object`'s interface `iid`, empty when it has none (or there is no object).
template <typename Interface>
ComPtr<Interface> queryInterface(IUnknown* object, REFIID iid) {
    return ComPtr<IUnknown>::hold(object).template query<Interface>(iid);
}

}  // namespace platform
