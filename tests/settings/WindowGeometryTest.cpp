#include "settings/WindowGeometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

using namespace kal;

TEST(WindowGeometry, PlacementModes)
{
    const ScreenRect screen{0, 0, 1280, 800};
    // Top left, centred, top right, where it was: a 799x571 window last at (50, 60).
    const std::pair<int, int> places[] = {{1, 1}, {(1280 - 799) / 2, (800 - 571 - 30) / 2}, {1280 - 799, 1}, {50, 60}};
    for (int mode = 0; mode < 4; ++mode) {
        const ScreenRect placed = PlaceWindow(mode, screen, 799, 571, 50, 60);
        EXPECT_EQ(std::pair(placed.left, placed.top), places[mode]) << mode;
    }
    EXPECT_TRUE(OnScreen(10, 10, screen));
    EXPECT_FALSE(OnScreen(0, 10, screen));
    EXPECT_FALSE(OnScreen(10, 800, screen));
}

TEST(WindowGeometry, PlacementKeepsTheFrameInsideTheScreen)
{
    const ScreenRect screen{0, 24, 1280, 776};
    // A frame 8 wider and 30 higher than the window it holds.
    for (int mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        ScreenRect r = PlaceWindow(mode, screen, 807, 601, 900, 700);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 24);
        EXPECT_LE(r.left + 807, 1280);
        EXPECT_LE(r.top + 601, 800);
    }
    EXPECT_EQ(PlaceWindow(2, screen, 807, 601, 0, 0).left, 1280 - 807);
    // Larger than the screen: the title bar stays on it.
    ScreenRect huge = PlaceWindow(1, screen, 2000, 2000, 0, 0);
    EXPECT_EQ(huge.left, 0);
    EXPECT_EQ(huge.top, 24);
}

TEST(WindowGeometry, StoredGeometryFitsTheScreenWhateverItSays)
{
    const ScreenRect screen{1280, 0, 1024, 768}; // a second screen right of the first
    const WindowGeometry fallback{1, 1, 799, 571};
    struct Case {
        const char* what;
        WindowGeometry stored, expected;
    };
    const int big = std::numeric_limits<int>::max(), small = std::numeric_limits<int>::min();
    const Case cases[] = {
        {"fits as it is", {1300, 10, 600, 400}, {1300, 10, 600, 400}},
        {"too large", {1300, 10, 60000, 60000}, {1280, 0, 1024, 768}},
        {"extremes", {small, big, big, small}, {1280, 768 - 571, 1024, 571}},
        {"too small takes the fallback", {2000, 300, 10, -1}, {2304 - 799, 768 - 571, 799, 571}},
        {"past the right edge moves in", {2200, 700, 600, 400}, {2304 - 600, 368, 600, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WindowGeometry fitted = FitOnScreen(c.stored, fallback, screen);
        EXPECT_EQ(std::tuple(fitted.left, fitted.top, fitted.width, fitted.height),
                  std::tuple(c.expected.left, c.expected.top, c.expected.width, c.expected.height));
    }
    EXPECT_EQ(FitExtent(big, 768), 768);
    EXPECT_EQ(FitExtent(small, 768), 0);
    EXPECT_EQ(FitExtent(120, 768), 120);
}
