// When changes of the desktop folder are taken up.
#include <gtest/gtest.h>

#include "app/change_timer.h"

namespace {

TEST(ChangeTimer, BurstsWaitForQuietOrTheLongestWaitAndNothingIsTakenUpWhileBusy) {
    constexpr uint32_t kForever = ChangeTimer::kForever;
    struct Step {
        uint64_t now;
        bool change, busy;
        uint32_t wait; // before the step's look
        bool due;
    } steps[] = {
        {0, false, false, kForever, false},  // idle: the loop waits for messages alone
        {1000, true, false, 50, false},      // a change: deaf for a moment, due after the quiet one
        {1030, false, false, 20, false},
        {1150, true, false, 50, false},      // another one pushes it back
        {1349, false, false, 1, false},
        {1350, false, true, kForever, false}, // due, but the user is resizing: wait for that to end
        {1400, false, false, 0, true},       // taken up once it ended
        {1401, false, false, kForever, false},
        {2000, true, false, 50, false},      // a burst that never quiets ...
        {3900, true, false, 50, false},
        {3960, true, false, 40, false},
        {4000, true, false, 0, true},        // ... is taken up after the longest wait
    };
    ChangeTimer t;
    for (const Step& s : steps) {
        if (s.change) t.Changed(s.now);
        EXPECT_EQ(t.WaitMs(s.now, s.busy), s.wait) << s.now;
        EXPECT_EQ(t.Due(s.now, s.busy), s.due) << s.now;
    }
}

} // namespace
