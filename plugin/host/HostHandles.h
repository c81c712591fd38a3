// Owning handles of the host objects the plug-in creates. Each holds one
// object or none, releases it once, moves on assignment and is never copied.
#pragma once

#include "HostCall.h"

#include <FMWrapper/FMWrapper.h>

namespace zera {

template <typename Object, Object* (*Create)(HostError&), void (*Release)(Object*, HostError&)>
class HostHandle {
public:
    // Creates the object. If the host reports code 1 or 2 the handle stays
    // empty and the exception propagates.
    HostHandle() { object_ = hostCall([](HostError& error) { return Create(error); }); }
    ~HostHandle() { reset(); }

    HostHandle(const HostHandle&) = delete;
    HostHandle& operator=(const HostHandle&) = delete;
    HostHandle(HostHandle&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    HostHandle& operator=(HostHandle&& other) noexcept {
        if (this != &other) {
            if (object_ != other.object_) reset();
            object_ = other.object_;
            other.object_ = nullptr;
        }
        return *this;
    }

    Object* get() const { return object_; }

private:
    // A release is never turned into an exception: it runs in destructors,
    // often while another exception unwinds, and the object is gone either
    // way.
    void reset() noexcept {
        if (object_ == nullptr) return;
        HostError error{kHostErrorVersion, 0};
        Release(object_, error);
        object_ = nullptr;
    }

    Object* object_ = nullptr;
};

using TextHandle = HostHandle<fmx::Text, &FM_Text_Constructor1, &FM_Text_Delete>;
using BinaryDataHandle = HostHandle<fmx::BinaryData, &FM_BinaryData_Constructor1, &FM_BinaryData_Delete>;

// A quad-char is made from its four characters.
class QuadCharHandle {
public:
    QuadCharHandle(char c0, char c1, char c2, char c3);
    ~QuadCharHandle() { reset(); }
    QuadCharHandle(const QuadCharHandle&) = delete;
    QuadCharHandle& operator=(const QuadCharHandle&) = delete;
    QuadCharHandle(QuadCharHandle&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    QuadCharHandle& operator=(QuadCharHandle&& other) noexcept;

    fmx::QuadChar* get() const { return object_; }

private:
    void reset() noexcept;
    fmx::QuadChar* object_ = nullptr;
};

}  // namespace zera
