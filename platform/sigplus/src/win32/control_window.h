// The control's own window while it is active in a container: it shows the
// ink, takes pen records a pad driver sends it (WM_COPYDATA) and lets a
// person write with the mouse.
#pragma once

#include "sigplus/pen_record.h"

#include <windows.h>

#include <vector>

namespace sigplus {

class Control;

class ControlWindow {
public:
    explicit ControlWindow(Control& control) : control_(control) {}
    ~ControlWindow() { destroy(); }
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    // A visible child of `parent` at `position`; false when it cannot be made.
    bool create(HWND parent, const RECT& position);
    void destroy();
    HWND handle() const { return window_; }
    bool move(const RECT& position);
    // Shows the ink anew.
    void invalidate();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The background and the ink, into the window's or a caller's context.
    void paint(HDC dc);
    void penDown(LPARAM position);
    void penMove(LPARAM position, bool lifting);
    void finishStroke();
    bool addPoint(LPARAM position);

    Control& control_;
    HWND window_ = nullptr;
    // The mouse stroke being written: its points on the pad's screen and
    // the mouse positions in the window, drawn until the stroke is ink.
    bool penIsDown_ = false;
    LONG strokeStart_ = 0;
    PenInput stroke_;
    std::vector<POINT> trail_;
};

// The window class belongs to the module; it goes when the module does.
void unregisterControlWindowClass();

}  // namespace sigplus
