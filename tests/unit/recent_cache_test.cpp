#include <gtest/gtest.h>

#include <string>

#include "render/recent_cache.h"

// What is asked for stays; the rest goes, and the cache never holds more than twice its limit.
TEST(RecentCache, KeepsWhatIsInUseAndStaysBounded) {
    RecentCache<std::string, int> cache(4);
    cache.Put("kept", 1);
    for (int i = 0; i < 1000; ++i) {
        cache.Put(std::to_string(i), i);
        ASSERT_TRUE(cache.Find("kept") && cache.Size() <= 8u) << i;
    }
    EXPECT_EQ(cache.Find("0"), nullptr);
    EXPECT_EQ(*cache.Find("999"), 999);
}
