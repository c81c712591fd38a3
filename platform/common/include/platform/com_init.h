// COM initialised on the calling thread for a scope. Every successful
// CoInitializeEx, S_FALSE (already initialised here) included, is paired
// with one CoUninitialize; a failed one is not.
#pragma once

#include <objbase.h>

namespace platform {

class ScopedComInit {
public:
    explicit ScopedComInit(DWORD model = COINIT_APARTMENTTHREADED) : status_(CoInitializeEx(nullptr, model)) {}
    ~ScopedComInit() {
        if (SUCCEEDED(status_)) CoUninitialize();
    }
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;

    HRESULT status() const { return status_; }

private:
    HRESULT status_;
};

}  // namespace platform
