// A system handle owned with its closer: closed when its owner goes, on
// every path. Each kind of handle names its empty value and how it closes.
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

template <typename Traits>
class UniqueHandle {
public:
    using Value = typename Traits::Value;

    UniqueHandle() = default;
    explicit UniqueHandle(Value owned) : value_(owned) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : value_(std::exchange(other.value_, Traits::empty())) {}
    UniqueHandle& operator=(UniqueHandle other) noexcept {
        std::swap(value_, other.value_);
        return *this;
    }

    void reset() {
        const Value held = std::exchange(value_, Traits::empty());
        if (held != Traits::empty()) Traits::close(held);
    }
    Value get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::empty(); }

private:
    Value value_ = Traits::empty();
};

// A file: CreateFileW answers INVALID_HANDLE_VALUE when it fails.
struct FileHandleTraits {
    using Value = HANDLE;
    static Value empty() { return INVALID_HANDLE_VALUE; }
    static void close(Value handle) { CloseHandle(handle); }
};
using UniqueFile = UniqueHandle<FileHandleTraits>;

// A GDI object (a bitmap, a pen, ...), deleted with DeleteObject.
template <typename Object>
struct GdiObjectTraits {
    using Value = Object;
    static Value empty() { return nullptr; }
    static void close(Value object) { DeleteObject(object); }
};
template <typename Object>
using UniqueGdiObject = UniqueHandle<GdiObjectTraits<Object>>;

}  // namespace platform
