#include "shell/timer/timer_queue_timer.h"

#include <gtest/gtest.h>

namespace orvalet {
namespace {

TEST(TimerSchedule, TheNextTickIsTheDueTimeFirstAndThenEveryPeriod) {
    struct Case {
        std::uint64_t elapsed;
        std::uint32_t due, period;
        std::optional<std::uint64_t> delay;
    };
    for (const Case& c : {Case{0, 1000, 25, 1000}, Case{990, 1000, 25, 10}, Case{1000, 1000, 25, 0},
                          Case{1001, 1000, 25, 24}, Case{1050, 1000, 25, 0}, Case{1060, 1000, 25, 15},
                          Case{5, 0, 25, 20}, Case{2000, 1000, 0, std::nullopt}, Case{999, 1000, 0, 1}}) {
        EXPECT_EQ(DelayToNextTick(c.elapsed, c.due, c.period), c.delay) << c.elapsed << " " << c.due << " " << c.period;
    }
}

}  // namespace
}  // namespace orvalet
