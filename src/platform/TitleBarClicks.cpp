#include "platform/TitleBarClicks.h"

#include <cstdlib>

namespace kal {

bool TitleBarClicks::press(PixelPoint at, long long timeMs, const PixelRect& bar)
{
    if (!bar.contains(at)) {
        first_.reset();
        return false;
    }
    const bool paired = first_ && timeMs >= first_->timeMs && timeMs - first_->timeMs <= intervalMs_ &&
                        std::abs(at.x - first_->at.x) <= distance_ && std::abs(at.y - first_->at.y) <= distance_;
    if (paired) {
        first_.reset();
        return true;
    }
    first_ = Press{at, timeMs};
    return false;
}

} // namespace kal
