// Objects behind handles that are numbers, never addresses: a stale or
// forged handle is refused instead of followed. Numbers are handed out in
// steps of four from a first one and are not reused.
#pragma once

#include "winplatform/types.h"

#include <cstddef>
#include <map>
#include <mutex>

namespace winplatform {

template <typename Pointer>
class NumberedTable {
public:
    explicit NumberedTable(ULONG_PTR first) : next_(first) {}

    void* add(Pointer object) {
        std::lock_guard lock(mutex_);
        const ULONG_PTR key = next_;
        next_ += 4;
        objects_.emplace(key, std::move(object));
        return reinterpret_cast<void*>(key);
    }

    // The object behind a handle (a copy of a shared pointer, or the raw
    // address of a uniquely owned one), empty when the handle is not live.
    auto find(const void* handle) {
        std::lock_guard lock(mutex_);
        const auto it = objects_.find(reinterpret_cast<ULONG_PTR>(handle));
        if constexpr (requires(Pointer p) { p.get(); p.use_count(); }) {
            return it == objects_.end() ? Pointer() : it->second;
        } else {
            return it == objects_.end() ? nullptr : it->second.get();
        }
    }

    // Takes the object out; the caller destroys it outside the lock, so an
    // object whose destruction closes other handles cannot deadlock.
    Pointer remove(const void* handle) {
        std::lock_guard lock(mutex_);
        const auto it = objects_.find(reinterpret_cast<ULONG_PTR>(handle));
        if (it == objects_.end()) return Pointer();
        Pointer object = std::move(it->second);
        objects_.erase(it);
        return object;
    }

    std::size_t size() {
        std::lock_guard lock(mutex_);
        return objects_.size();
    }

private:
    std::mutex mutex_;
    std::map<ULONG_PTR, Pointer> objects_;
    ULONG_PTR next_;
};

}  // namespace winplatform
