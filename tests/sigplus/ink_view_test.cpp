// A window's view of the pad's ink area: mouse positions become screen
// pixels inside the area, and ink shows where it was written.
#include "ink_view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using sigplus::ScreenArea;
using sigplus::ViewPoint;
using sigplus::ViewSize;

TEST(InkView, PositionsBecomePixelsOfTheInkAreaOnTheScreen) {
    const ScreenArea area{20, 10, 100, 30};
    const ViewSize view{400, 60};
    EXPECT_EQ(sigplus::screenPixelAt({0, 0}, view, area), (ViewPoint{20, 10}));
    EXPECT_EQ(sigplus::screenPixelAt({399, 59}, view, area), (ViewPoint{119, 39}));
    EXPECT_EQ(sigplus::screenPixelAt({202, 31}, view, area), (ViewPoint{70, 25}));
    // A captured mouse outside the window writes at the area's edge.
    EXPECT_EQ(sigplus::screenPixelAt({-50, 900}, view, area), (ViewPoint{20, 39}));
    // An area reaching past the screen gives only the screen's pixels.
    EXPECT_EQ(sigplus::screenPixelAt({399, 0}, view, ScreenArea{200, -20, 100, 200}), (ViewPoint{239, 0}));
    EXPECT_FALSE(sigplus::screenPixelAt({1, 1}, ViewSize{0, 60}, area));
    EXPECT_FALSE(sigplus::screenPixelAt({1, 1}, view, ScreenArea{20, 10, 0, 30}));
    EXPECT_FALSE(sigplus::screenPixelAt({1, 1}, view, ScreenArea{300, 10, 50, 30}));
}

// Ink in the pad window's units shows on the pixel it was recorded from:
// the pad records the middle of pixel p as round((p + 0.5) * span / screen).
TEST(InkView, InkShowsWhereItWasWritten) {
    const sigplus::PadWindow window{0, 0, 2400, 640, 2000, 700};
    const ViewSize screen{sigplus::kPadScreenWidth, sigplus::kPadScreenHeight};
    for (int p = 0; p < sigplus::kPadScreenWidth; ++p) {
        const auto x = static_cast<std::int16_t>(std::lround((p + 0.5) * 2000 / sigplus::kPadScreenWidth));
        const auto y = static_cast<std::int16_t>(std::lround((p % 64 + 0.5) * 700 / sigplus::kPadScreenHeight));
        EXPECT_EQ(sigplus::viewPositionOf({x, y}, window, screen, sigplus::kWholeScreen), (ViewPoint{p, p % 64})) << p;
    }
    // Without a usable window ink is in pixels; in a view twice the size of
    // an ink area at 20,10, pixel 30,20 covers 20,20 .. 21,21, its middle 21,21.
    EXPECT_EQ(sigplus::viewPositionOf({30, 20}, sigplus::PadWindow{}, ViewSize{200, 60}, ScreenArea{20, 10, 100, 30}),
              (ViewPoint{21, 21}));
}

}  // namespace
