// A window's device context for a scope (the Linux platform has the
// screen's only).
#pragma once

#include <windows.h>

namespace platform {

// A window's device context from GetDC, given back with ReleaseDC to the
// same window (null: the screen).
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace platform
