#include "app/change_timer.h"

#include <algorithm>

void ChangeTimer::Changed(uint64_t now) {
    if (!pending_) first_ = last_ = now;
    pending_ = true;
    last_ = std::max(last_, now);
}

uint64_t ChangeTimer::DueAt() const {
    return std::min(last_ + kQuietMs, first_ + kLongestMs);
}

uint32_t ChangeTimer::WaitMs(uint64_t now, bool busy) const {
    if (!pending_ || busy) return kForever;
    const uint64_t at = Listening(now) ? DueAt() : std::min(DueAt(), last_ + kDeafMs);
    return at > now ? static_cast<uint32_t>(at - now) : 0;
}

bool ChangeTimer::Due(uint64_t now, bool busy) {
    if (!pending_ || busy || now < DueAt()) return false;
    pending_ = false;
    return true;
}
