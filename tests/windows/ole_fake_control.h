// The recording fake control made a full OLE control for the Windows test
// programs: an in-place object with a window of its own in the dialog, saved
// state read through IPersistStreamInit, and the pad's PenDown event fired
// through its connection point when its window is touched.
#pragma once

#include "FakeControl.h"

#include <windows.h>

#include <functional>
#include <vector>

// What the control saw of its container, kept after it is gone.
struct OleFakeRecord {
    std::vector<BYTE> savedState;  // what IPersistStreamInit::Load read
    bool hadClientSite = false;
    HWND parent = nullptr;  // the window DoVerb named
    HWND window = nullptr;  // the control's own window
    RECT position{};        // the rectangle DoVerb gave
    RECT windowRect{};      // where its window lay in the parent, read at activation
    int advised = 0;        // sinks connected, less those disconnected
    int idWhenTouched = 0;  // its window's dialog ID, read when the pad was last touched
    std::function<void(HWND window)> activated;  // called once its window is in place
    bool windowless = false;  // set before it is made: no IOleObject, no window, events still
};

// The window class of the control's window.
inline constexpr wchar_t kOleFakeWindowClass[] = L"ZeraOleFakeControl";
// Posted to the control's window: the pad touched on hot spot wParam
// (-1: ink only), firing PenDown.
inline constexpr UINT kOleFakeTouch = WM_APP + 0x51;

// Touches the pad of the windowless control alive now, if there is one.
bool touchWindowlessControl(int hotSpot);

// Makes each object of the script's class an OLE control recording into
// `record`.
void makeOleControl(FakeControlScript& script, OleFakeRecord& record);
