// Owning handles of the host objects the plug-in creates. Each holds one
// object or none, releases it once, moves on assignment and is never copied.
#pragma once

#include "HostCall.h"

#include <FMWrapper/FMWrapper.h>

namespace zera {

template <typename Object, auto Create, void (*Release)(Object*, HostError&)>
class HostHandle {
public:
    // Creates the object from the constructor's arguments (a quad-char's
    // four characters; nothing for the others). If the host reports code 1
    // or 2 the handle stays empty and the exception propagates.
    template <typename... Arguments>
    explicit HostHandle(Arguments... arguments) {
        object_ = hostCall([&](HostError& error) { return Create(arguments..., error); });
    }
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
// Made from its four characters, first to last.
using QuadCharHandle = HostHandle<fmx::QuadChar, &FM_QuadChar_Constructor2, &FM_QuadChar_Delete>;

}  // namespace zera
