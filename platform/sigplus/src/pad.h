// The pad behind a hosted control: its screen, its touch keys, the area in
// which it records ink, and how pen positions on the screen become ink.
//
// The values the control's members carry mean this here:
//   DisplaySetup(mode, width, height, ...)   the screen's mode and size; the
//                                            pad has one screen, 240 x 64,
//                                            so nothing changes
//   DisplayInkArea(show, x, y, w, h)         show (1) or hide (0) ink as it
//                                            is written, inside that area
//   InkAreaSet(x, y, w, h)                   ink is recorded only there
//                                            (the whole screen until set)
//   DisplayBitmap(layer, mode, x, y, w, h, bitmap)
//                                            the bitmap's top-left w x h
//                                            pixels, opaque, at x, y
//   DisplayClearArea(layer, x, y, w, h)      the area made light
//   HotSpotDefine(index, kind, x, y, w, h)   touch key `index` (0 to 15)
//   HotSpotTouched(index)                    1 when a pen went down on that
//                                            key since the keys were reset
//   HotSpotReset(kind)                       forgets the touches
//   DisplayMode                              2 shows ink as it is written;
//                                            0 and 1 do not
//   PadRefresh(kind)                         the screen is sent to the pad
//
// Screen positions become ink coordinates through the pad window: the
// screen covers PadXFrom..PadXTo by PadYFrom..PadYTo of the tablet, and
// that window is InkSpanX by InkSpanY ink units wide and high. Without a
// usable window, ink is recorded in screen pixels.
#pragma once

#include "pad_screen.h"
#include "screen_pictures.h"
#include "sigplus/ink.h"
#include "sigplus/pen_record.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <winplatform/gdi.h>
#endif

#include <array>
#include <optional>

namespace sigplus {

inline constexpr int kTouchKeyCount = 16;
inline constexpr std::int32_t kDisplayModeShowInk = 2;

// What the control's properties say about the tablet at the moment.
struct PadWindow {
    int xFrom = 0;
    int yFrom = 0;
    int xTo = 0;
    int yTo = 0;
    int spanX = 0;
    int spanY = 0;
};

class Pad {
public:
    explicit Pad(ScreenPictures pictures) : pictures_(std::move(pictures)) {}
    ~Pad() { pictures_.offer(screen_); }
    Pad(const Pad&) = delete;
    Pad& operator=(const Pad&) = delete;

    // Forgets the keys, their touches and the areas; the screen keeps what
    // it shows.
    void reset();

    void setInkArea(const ScreenArea& area) { inkArea_ = area; }
    const ScreenArea& inkArea() const { return inkArea_; }
    void setDisplayInkArea(bool show, const ScreenArea& area) {
        showInk_ = show;
        displayInkArea_ = area;
    }
    void clearArea(const ScreenArea& area);
    // False for a handle that is no bitmap: nothing is drawn.
    bool drawBitmap(const ScreenArea& area, HBITMAP bitmap);
    void refresh() { pictures_.offer(screen_); }

    // False for an index outside 0 .. kTouchKeyCount - 1.
    bool defineKey(int index, const ScreenArea& area);
    std::optional<bool> keyTouched(int index) const;
    void resetTouches() { touched_.fill(false); }

    // The pen went down here: a key under it counts as touched.
    void penDown(const PenPoint& point);
    // The ink of one pen-down to pen-up: the parts of it inside the ink
    // area, in ink coordinates (a stroke that leaves the area and comes
    // back is two strokes); shown on the screen as the display mode and
    // the display's ink area say. Nothing when recording is off.
    Ink inkOf(const PenInput& pen, const PadWindow& window, bool recording, std::int32_t displayMode);

private:
    struct Key {
        bool defined = false;
        ScreenArea area;
    };

    // A drawing over the whole screen replaces what the pad showed; the
    // pictures keep it first, unless it was a blank screen on its way to
    // being drawn.
    void beforeDrawing(const ScreenArea& area) {
        if (area.coversScreen() && !screen_.blank()) pictures_.offer(screen_);
    }

    ScreenPictures pictures_;
    PadScreen screen_;
    std::array<Key, kTouchKeyCount> keys_{};
    std::array<bool, kTouchKeyCount> touched_{};
    ScreenArea inkArea_ = kWholeScreen;
    ScreenArea displayInkArea_ = kWholeScreen;
    bool showInk_ = false;
};

}  // namespace sigplus
