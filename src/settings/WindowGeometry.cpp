#include "settings/WindowGeometry.h"

#include <algorithm>

namespace kal {

ScreenRect PlaceWindow(int positionMode, const ScreenRect& screen, int width, int height, int rememberedLeft,
                       int rememberedTop)
{
    ScreenRect r{rememberedLeft, rememberedTop, width, height};
    switch (positionMode) {
    case 0:
        r.left = screen.left + 1;
        r.top = screen.top + 1;
        break;
    case 1:
        r.top = screen.top + (screen.height - height - 30) / 2;
        r.left = screen.left + (screen.width - width) / 2;
        break;
    case 2:
        r.top = screen.top + 1;
        r.left = screen.left + screen.width - width;
        break;
    default:
        break;
    }
    // The whole window on the screen; one larger than the screen keeps its title bar there.
    r.left = std::max(screen.left, std::min(r.left, screen.left + screen.width - width));
    r.top = std::max(screen.top, std::min(r.top, screen.top + screen.height - height));
    return r;
}

namespace {

int fitSize(int stored, int fallback, int smallest, int screenExtent)
{
    const int size = stored < smallest ? fallback : stored;
    return std::clamp(size, std::min(smallest, screenExtent), screenExtent);
}

// The stored coordinate is never used in arithmetic, so no value can overflow.
int fitPosition(int stored, int size, int screenStart, int screenExtent)
{
    return std::clamp(stored, screenStart, screenStart + screenExtent - size);
}

} // namespace

WindowGeometry FitOnScreen(const WindowGeometry& stored, const WindowGeometry& fallback, const ScreenRect& screen)
{
    WindowGeometry fitted;
    fitted.width = fitSize(stored.width, fallback.width, kSmallestWindowWidth, screen.width);
    fitted.height = fitSize(stored.height, fallback.height, kSmallestWindowHeight, screen.height);
    fitted.left = fitPosition(stored.left, fitted.width, screen.left, screen.width);
    fitted.top = fitPosition(stored.top, fitted.height, screen.top, screen.height);
    return fitted;
}

int FitExtent(int stored, int screenExtent)
{
    return std::clamp(stored, 0, std::max(0, screenExtent));
}

bool OnScreen(int left, int top, const ScreenRect& screen)
{
    return top > 0 && top < screen.top + screen.height && left > 0 && left < screen.left + screen.width;
}

} // namespace kal
