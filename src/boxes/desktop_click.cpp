#include "boxes/desktop_click.h"

#include <cstdlib>

bool DesktopClicks::Press(Point p, unsigned t, PointerOver what, const DoubleClickRules& rules) {
    // Unsigned difference: right across the clock's wrap as well.
    const bool paired = pending_ && t - firstTime_ < rules.timeMs && std::abs(p.x - first_.x) * 2 <= rules.width &&
                        std::abs(p.y - first_.y) * 2 <= rules.height;
    if (paired) {
        pending_ = false;
        return firstWhat_ == PointerOver::EmptyDesktop && what == PointerOver::EmptyDesktop;
    }
    pending_ = true;
    first_ = p;
    firstTime_ = t;
    firstWhat_ = what;
    return false;
}
