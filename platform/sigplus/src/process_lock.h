// A lock for what the process's controls share (the journal). The 32-bit
// Windows compiler's runtime has no std::mutex (its threads are win32's),
// so on Windows it is a critical section.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

namespace sigplus {

class ProcessLock {
public:
#ifdef _WIN32
    ProcessLock() { InitializeCriticalSection(&section_); }
    ~ProcessLock() { DeleteCriticalSection(&section_); }
    void lock() { EnterCriticalSection(&section_); }
    void unlock() { LeaveCriticalSection(&section_); }
#else
    ProcessLock() = default;
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }
#endif
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

    // Held for a scope.
    class Held {
    public:
        explicit Held(ProcessLock& lock) : lock_(lock) { lock_.lock(); }
        ~Held() { lock_.unlock(); }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        ProcessLock& lock_;
    };

private:
#ifdef _WIN32
    CRITICAL_SECTION section_;
#else
    std::mutex mutex_;
#endif
};

}  // namespace sigplus
