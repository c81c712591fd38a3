#include "HostHandles.h"

namespace zera {

QuadCharHandle::QuadCharHandle(char c0, char c1, char c2, char c3) {
    object_ = hostCall([&](HostError& error) { return FM_QuadChar_Constructor2(c0, c1, c2, c3, error); });
}

QuadCharHandle& QuadCharHandle::operator=(QuadCharHandle&& other) noexcept {
    if (this != &other) {
        if (object_ != other.object_) reset();
        object_ = other.object_;
        other.object_ = nullptr;
    }
    return *this;
}

void QuadCharHandle::reset() noexcept {
    if (object_ == nullptr) return;
    HostError error{kHostErrorVersion, 0};
    FM_QuadChar_Delete(object_, error);
    object_ = nullptr;
}

}  // namespace zera
