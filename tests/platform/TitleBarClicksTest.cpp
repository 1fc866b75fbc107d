// Double clicks on a title bar recognised from raw presses anywhere on the screen.
#include "platform/TitleBarClicks.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kal;

namespace {

const PixelRect kBar{100, 50, 400, 70};
const PixelRect kNoBar{}; // a window without a title bar, or the pointer over another window

struct Press {
    PixelPoint at;
    long long timeMs;
    PixelRect bar = kBar;
};

struct Case {
    const char* what;
    std::vector<Press> presses;
    std::vector<bool> completes; // per press
};

} // namespace

TEST(TitleBarClicks, TwoQuickNearPressesOnTheBarMakeOneDoubleClick)
{
    const Case cases[] = {
        {"two presses in time", {{{200, 60}, 1000}, {{202, 61}, 1300}}, {false, true}},
        {"the interval's last millisecond", {{{200, 60}, 1000}, {{200, 60}, 1400}}, {false, true}},
        {"too slow", {{{200, 60}, 1000}, {{200, 60}, 1401}}, {false, false}},
        {"too far apart", {{{200, 60}, 1000}, {{206, 60}, 1100}}, {false, false}},
        {"the bar's edges count",
         {{{100, 50}, 0}, {{100, 50}, 10}, {{400, 70}, 500}, {{400, 70}, 510}},
         {false, true, false, true}},
        {"below the bar, in the window", {{{200, 71}, 1000}, {{200, 71}, 1100}}, {false, false}},
        {"beside the bar", {{{99, 60}, 1000}, {{99, 60}, 1100}}, {false, false}},
        {"no bar under the pointer", {{{200, 60}, 1000, kNoBar}, {{200, 60}, 1100, kNoBar}}, {false, false}},
        {"a third press starts a new pair",
         {{{200, 60}, 0}, {{200, 60}, 100}, {{200, 60}, 200}, {{200, 60}, 300}},
         {false, true, false, true}},
        {"a slow press starts the next pair",
         {{{200, 60}, 0}, {{200, 60}, 900}, {{200, 60}, 1000}},
         {false, false, true}},
        {"a press elsewhere in between breaks the pair",
         {{{200, 60}, 0}, {{200, 90}, 50}, {{200, 60}, 100}},
         {false, false, false}},
        {"the clock going back", {{{200, 60}, 1000}, {{200, 60}, 900}}, {false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TitleBarClicks clicks(400, 5);
        for (std::size_t i = 0; i < c.presses.size(); ++i)
            EXPECT_EQ(clicks.press(c.presses[i].at, c.presses[i].timeMs, c.presses[i].bar), c.completes[i])
                << "press " << i;
    }
}
