// Double clicks on a window's title bar, recognised from the pointer's presses anywhere on the
// screen: the title bar belongs to the window manager, which tells the window nothing of them.
#pragma once

#include <optional>

namespace kal {

struct PixelPoint {
    int x = 0, y = 0;
};

// Edges inclusive.
struct PixelRect {
    int left = 0, top = 0, right = -1, bottom = -1;
    bool contains(PixelPoint p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
};

class TitleBarClicks {
public:
    // The desktop's double-click interval (ms) and how far apart (pixels) two presses may be.
    TitleBarClicks(int intervalMs, int distance) : intervalMs_(intervalMs), distance_(distance) { }

    // A press of the first button at `at`, at `timeMs` on the window system's clock, while the
    // title bar lies at `bar`; true when it completes a double click on the bar. A third press
    // begins a new pair.
    bool press(PixelPoint at, long long timeMs, const PixelRect& bar);

private:
    struct Press {
        PixelPoint at;
        long long timeMs = 0;
    };
    int intervalMs_, distance_;
    std::optional<Press> first_;
};

} // namespace kal
