#include "app/SplashTiming.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(SplashWait, EndsWhenTheWholeSecondsHaveAdvancedByTwo) {
    EXPECT_EQ(splashWaitMilliseconds(5999), 1001u);  // 5.999 s ends at 7.000 s
    EXPECT_EQ(splashWaitMilliseconds(5000), 2000u);  // 5.000 s ends at 7.000 s
    // Begun just before the counter wraps, it still ends.
    EXPECT_EQ(splashWaitMilliseconds(0xFFFFFFFFu), 2000u - 295u);
}

}  // namespace
}  // namespace corvane
