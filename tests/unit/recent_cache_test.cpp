// A cache bounded by use: what is asked for stays, what is not goes, and it never grows past twice
// its limit however many keys pass through it.
#include <gtest/gtest.h>

#include <string>

#include "render/recent_cache.h"

namespace {

TEST(RecentCache, KeepsWhatIsInUseAndStaysBounded) {
    RecentCache<std::string, int> cache(4);
    cache.Put("kept", 1);
    for (int i = 0; i < 1000; ++i) {
        cache.Put("passing " + std::to_string(i), i);
        ASSERT_NE(cache.Find("kept"), nullptr) << "asked for at every step, after " << i;
        ASSERT_LE(cache.Size(), 8u);
    }
    EXPECT_EQ(*cache.Find("kept"), 1);
    EXPECT_EQ(cache.Find("passing 0"), nullptr) << "not asked for through whole generations";
    EXPECT_EQ(*cache.Find("passing 999"), 999);
    cache.Put("kept", 2);
    EXPECT_EQ(*cache.Find("kept"), 2) << "a new value replaces the old";
    cache.Clear();
    EXPECT_EQ(cache.Size(), 0u);
}

} // namespace
