#include "process_state.h"

#include <dlfcn.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

using winplatform::detail::SlotType;

struct Slot {
    void* storage;
    SlotType type;
};

// One process's or one thread's objects, in the order they were made.
struct Slots {
    std::map<std::string, std::size_t> byKey;
    std::vector<Slot> made;

    void* find(const char* key, const SlotType& type) {
        const auto [it, inserted] = byKey.emplace(key, made.size());
        if (!inserted) return made[it->second].storage;
        void* storage = ::operator new(type.size, std::align_val_t(type.alignment));
        try {
            type.construct(storage);
        } catch (...) {
            ::operator delete(storage, std::align_val_t(type.alignment));
            byKey.erase(it);
            throw;
        }
        made.push_back({storage, type});
        return storage;
    }

    // Last made, first destroyed: a later object may refer to an earlier one.
    void destroy() {
        for (auto slot = made.rbegin(); slot != made.rend(); ++slot) {
            slot->type.destroy(slot->storage);
            ::operator delete(slot->storage, std::align_val_t(slot->type.alignment));
        }
        made.clear();
        byKey.clear();
    }
};

struct ProcessSlots {
    std::recursive_mutex mutex;  // a constructor may itself ask for another slot
    Slots process;
    // Every thread's slots, kept so that their memory stays reachable after
    // the thread has ended.
    std::vector<Slots*> threads;
};

ProcessSlots*& ownSlotsPointer() {
    static ProcessSlots* slots = nullptr;
    return slots;
}

ProcessSlots& ownSlots() {
    static std::once_flag made;
    std::call_once(made, [] { ownSlotsPointer() = new ProcessSlots(); });
    return *ownSlotsPointer();
}

void* ownProcessSlot(const char* key, const SlotType& type) {
    ProcessSlots& slots = ownSlots();
    std::lock_guard lock(slots.mutex);
    return slots.process.find(key, type);
}

void* ownThreadSlot(const char* key, const SlotType& type) {
    thread_local Slots* mine = nullptr;
    if (mine == nullptr) {
        ProcessSlots& slots = ownSlots();
        std::lock_guard lock(slots.mutex);
        mine = new Slots();
        slots.threads.push_back(mine);
    }
    return mine->find(key, type);
}

// What libwinplatform.so offers the hidden copies. A new member means a new
// exported name.
struct Anchor {
    void* (*processSlot)(const char*, const SlotType&);
    void* (*threadSlot)(const char*, const SlotType&);
};

constexpr Anchor kOwnAnchor{&ownProcessSlot, &ownThreadSlot};

const Anchor& anchor() {
    static const Anchor* chosen = [] {
        void* found = dlsym(RTLD_DEFAULT, "winplatform_process_anchor_v1");
        if (found == nullptr) return &kOwnAnchor;
        const Anchor* (*offered)() = nullptr;
        static_assert(sizeof offered == sizeof found);
        std::memcpy(&offered, &found, sizeof offered);
        return offered();
    }();
    return *chosen;
}

#if !defined(WINPLATFORM_PROCESS_ANCHOR)
// A copy that keeps its own state destroys it when its module is unloaded:
// made before any other static object of the module, this is destroyed
// after all of them, so none of their destructors finds the state gone.
struct ReleaseOwnState {
    ReleaseOwnState() {}  // dynamic initialisation, so that the priority holds
    ~ReleaseOwnState() {
        ProcessSlots* slots = ownSlotsPointer();
        if (slots == nullptr || !winplatform::detail::standsAlone()) return;
        for (Slots* thread : slots->threads) {
            thread->destroy();
            delete thread;
        }
        slots->process.destroy();
        delete slots;
        ownSlotsPointer() = nullptr;
    }
    ReleaseOwnState(const ReleaseOwnState&) = delete;
    ReleaseOwnState& operator=(const ReleaseOwnState&) = delete;
};
ReleaseOwnState releaseOwnState __attribute__((init_priority(101)));
#endif

}  // namespace

#if defined(WINPLATFORM_PROCESS_ANCHOR)
// Only libwinplatform.so exports it; the hidden copies look it up.
extern "C" __attribute__((visibility("default"))) const Anchor* winplatform_process_anchor_v1() { return &kOwnAnchor; }
#endif

namespace winplatform::detail {

void* processSlot(const char* key, const SlotType& type) { return anchor().processSlot(key, type); }

void* threadSlot(const char* key, const SlotType& type) { return anchor().threadSlot(key, type); }

bool standsAlone() {
#if defined(WINPLATFORM_PROCESS_ANCHOR)
    return false;
#else
    return &anchor() == &kOwnAnchor;
#endif
}

}  // namespace winplatform::detail
