#include "shell/timer/win32/timer_queue_timer_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/error_handler.h"
#include "support/message_pump_win.h"

namespace orvalet::win32 {
namespace {

using ::testing::Each;
using ::testing::ElementsAreArray;

// Every wait is bounded by a deadline far beyond what a loaded machine needs,
// so a broken timer fails the test instead of hanging it.
constexpr DWORD kPatience = 10000;
// Long enough for every callback already running to have posted its tick.
constexpr DWORD kSettle = 300;

void PumpFor(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

// Blocks the thread (no message loop) until the timer's first tick is queued.
bool WaitUntilTickQueued() {
    MSG message;
    const ULONGLONG deadline = ::GetTickCount64() + kPatience;
    while (!::PeekMessageW(&message, nullptr, WM_TIMERQUEUETICK, WM_TIMERQUEUETICK, PM_NOREMOVE)) {
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(5);
    }
    return true;
}

// Overlapping callbacks may post out of order, but every callback number
// from 1 on must arrive exactly once.
void ExpectEachCountOnceFromOne(std::vector<std::uint32_t> counts) {
    std::vector<std::uint32_t> expected(counts.size());
    std::iota(expected.begin(), expected.end(), 1u);
    std::sort(counts.begin(), counts.end());
    EXPECT_THAT(counts, ElementsAreArray(expected));
}

// A timer whose handler records the Count of every tick it receives. The
// timer's destruction discards any tick still queued for it.
class TimerQueueTimerTest : public ::testing::Test {
protected:
    TimerQueueTimerTest() {
        timer.SetOnTimer([this] { counts.push_back(timer.Count()); });
    }

    void Start(std::uint32_t dueTime, std::uint32_t period) {
        timer.SetDueTime(dueTime);
        timer.SetPeriod(period);
        timer.SetEnabled(true);
    }

    bool PumpUntilTicks(std::size_t n) {
        return PumpUntil([&] { return counts.size() >= n; }, kPatience);
    }

    TTimerQueueTimer timer;
    std::vector<std::uint32_t> counts;
};

TEST_F(TimerQueueTimerTest, StartsDisabledAndTakesDueTimeAndPeriodOnlyWhileDisabled) {
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.DueTime(), 1000u);
    EXPECT_EQ(timer.Period(), 1000u);
    EXPECT_EQ(timer.Count(), 0u);

    Start(60000, 25);
    ASSERT_TRUE(timer.Enabled());
    timer.SetDueTime(5);
    timer.SetPeriod(7);
    EXPECT_EQ(timer.DueTime(), 60000u);
    EXPECT_EQ(timer.Period(), 25u);

    // Discarded, not remembered for the next start.
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    timer.SetEnabled(false);
    EXPECT_EQ(timer.DueTime(), 60000u);
    EXPECT_EQ(timer.Period(), 25u);

    timer.SetDueTime(5);
    timer.SetPeriod(7);
    EXPECT_EQ(timer.DueTime(), 5u);
    EXPECT_EQ(timer.Period(), 7u);
}

TEST_F(TimerQueueTimerTest, CountRestartsAtOneAfterEveryEnablingButASecondEnablingChangesNothing) {
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        counts.clear();
        Start(0, 20);
        ASSERT_TRUE(PumpUntilTicks(3));
        timer.SetEnabled(true);  // neither restarts the count nor adds a system timer
        ASSERT_TRUE(PumpUntilTicks(6));
        timer.SetEnabled(false);
        timer.SetEnabled(false);
        EXPECT_FALSE(timer.Enabled());
        PumpFor(kSettle);
        ExpectEachCountOnceFromOne(counts);
        counts.clear();
        PumpFor(kSettle);
        EXPECT_TRUE(counts.empty()) << "a system timer is still running";
    }
}

TEST_F(TimerQueueTimerTest, TheFirstTickWaitsForTheDueTimeAndABlockedThreadGetsEveryTickBackToBack) {
    timer.SetPeriod(25);  // DueTime stays at 1000
    timer.SetEnabled(true);
    PumpFor(500);
    EXPECT_TRUE(counts.empty()) << "ticked before the due time";

    ::Sleep(1500);  // about 40 ticks queue up meanwhile
    PumpMessages();
    // The bounds only tell a 25 ms period from a one-second one, from a timer
    // that merges pending ticks into one, or from a runaway timer.
    EXPECT_GE(counts.size(), 10u);
    EXPECT_LE(counts.size(), 200u);
    ExpectEachCountOnceFromOne(counts);
}

TEST_F(TimerQueueTimerTest, ATimerNotNeededStaysEnabledWithoutTicksAndResumesOnItsSchedule) {
    timer.SetNeeded(false);
    Start(1000, 25);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Armed());
    PumpFor(300);
    timer.SetNeeded(true);  // the first tick still comes 1000 ms after enabling
    EXPECT_TRUE(timer.Armed());
    PumpFor(400);
    EXPECT_TRUE(counts.empty()) << "ticked before the due time";
    ASSERT_TRUE(PumpUntilTicks(3));

    timer.SetNeeded(false);
    PumpFor(kSettle);
    counts.clear();
    PumpFor(kSettle);
    EXPECT_TRUE(counts.empty()) << "a system timer is still running";
    EXPECT_TRUE(timer.Enabled());

    timer.SetNeeded(true);  // long past the due time: on the next period
    ASSERT_TRUE(PumpUntilTicks(1));
    EXPECT_GT(counts.front(), 3u);  // counted on from the enabling
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Armed());
}

TEST_F(TimerQueueTimerTest, ATickQueuedBeforeDisablingStillFiresOnce) {
    Start(0, 60000);
    ASSERT_TRUE(WaitUntilTickQueued());
    timer.SetEnabled(false);
    PumpFor(kSettle);
    EXPECT_THAT(counts, ElementsAreArray({1u}));
}

TEST_F(TimerQueueTimerTest, AnExceptionInTheHandlerIsReportedAndTicksGoOn) {
    std::vector<std::wstring> reports;
    ErrorHandler previous = SetErrorHandler([&](const std::wstring& message) { reports.push_back(message); });
    timer.SetOnTimer([&] {
        counts.push_back(timer.Count());
        throw std::runtime_error("fade step failed");
    });
    Start(0, 20);
    const bool ticked = PumpUntilTicks(3);
    SetErrorHandler(std::move(previous));
    ASSERT_TRUE(ticked);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(reports.size(), counts.size());
    EXPECT_THAT(reports, Each(std::wstring(L"fade step failed")));
}

// The tick counter outlives every timer, so a tick delivered after
// destruction shows up instead of touching freed memory unnoticed.
std::unique_ptr<TTimerQueueTimer> MakeFastTimer(int& ticks) {
    auto timer = std::make_unique<TTimerQueueTimer>();
    timer->SetOnTimer([&ticks] { ++ticks; });
    timer->SetDueTime(0);
    timer->SetPeriod(1);
    return timer;
}

TEST(TimerLifetime, NoTickIsDeliveredAfterDestructionEvenRightAfterDisablingOrReenabling) {
    int ticks = 0;
    for (int round = 0; round < 20; ++round) {
        auto timer = MakeFastTimer(ticks);
        timer->SetEnabled(true);
        ASSERT_TRUE(WaitUntilTickQueued());
        timer.reset();
        ticks = 0;
        PumpFor(20);
        ASSERT_EQ(ticks, 0) << "queued tick, round " << round;
    }
    for (int round = 0; round < 50; ++round) {
        auto timer = MakeFastTimer(ticks);
        timer->SetEnabled(true);
        ::Sleep(2);
        timer->SetEnabled(false);
        timer->SetEnabled(true);
        EXPECT_TRUE(timer->Enabled());
        ::Sleep(2);
        timer->SetEnabled(false);
        timer.reset();
        ticks = 0;
        PumpFor(5);
        ASSERT_EQ(ticks, 0) << "disabled, round " << round;
    }
}

// Stands in for a non-waiting delete that fails for want of memory and
// leaves the system timer running.
BOOL WINAPI FailingDelete(HANDLE, HANDLE, HANDLE) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
}

// Stands in for a system timer that cannot be made.
BOOL WINAPI FailingCreate(PHANDLE, HANDLE, WAITORTIMERCALLBACK, PVOID, DWORD, DWORD, ULONG) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
}

// When the quick delete fails, the timer deletes by waiting and no tick
// follows. Whether the timer is needed never changes Enabled behind its
// owner's back: the failed delete leaves it enabled and able to tick again,
// and a system timer that cannot be made when it is needed again disables
// it, as a failed enabling does.
TEST(TimerLifetime, WhenTheQuickDeleteFailsTheTimerDeletesByWaitingAndNoTickFollows) {
    TTimerQueueTimer timer({&FailingDelete});
    int ticks = 0;
    timer.SetOnTimer([&] { ++ticks; });
    timer.SetDueTime(0);
    timer.SetPeriod(5);
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return ticks > 0; }, kPatience));
    timer.SetNeeded(false);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Armed());
    PumpFor(kSettle);
    ticks = 0;
    timer.SetNeeded(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }, kPatience)) << "not armed again";
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    PumpFor(kSettle);
    ticks = 0;
    PumpFor(kSettle);
    EXPECT_EQ(ticks, 0) << "the system timer is still running";

    TTimerQueueTimer unarmable({&::DeleteTimerQueueTimer, &FailingCreate});
    unarmable.SetNeeded(false);
    unarmable.SetEnabled(true);
    EXPECT_TRUE(unarmable.Enabled());
    unarmable.SetNeeded(true);
    EXPECT_FALSE(unarmable.Enabled());
}

TEST(TimerLifetime, AHandlerMayFreeItsOwnTimer) {
    int ticks = 0;
    auto timer = MakeFastTimer(ticks);
    timer->SetOnTimer([&] {
        ++ticks;
        timer.reset();
    });
    timer->SetEnabled(true);
    PumpFor(kSettle);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(timer, nullptr);
}

}  // namespace
}  // namespace orvalet::win32
