#include "shell/meter/reentry_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvalet {
namespace {

TEST(ReentryGuard, ANestedRunIsRefusedAndAnExceptionStillClearsTheFlag) {
    bool busy = false;
    {
        ReentryGuard outer(busy);
        EXPECT_TRUE(outer.Entered());
        EXPECT_TRUE(busy);
        {
            ReentryGuard inner(busy);
            EXPECT_FALSE(inner.Entered());
        }
        EXPECT_TRUE(busy) << "the refused inner run must not clear the outer run's flag";
    }
    EXPECT_FALSE(busy);

    EXPECT_THROW(
        {
            ReentryGuard guard(busy);
            throw std::runtime_error("tick failed");
        },
        std::runtime_error);
    EXPECT_FALSE(busy);
    ReentryGuard next(busy);
    EXPECT_TRUE(next.Entered());
}

}  // namespace
}  // namespace orvalet
