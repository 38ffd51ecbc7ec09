#include "shell/win32/timer_queue_timer_win.h"

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

namespace orvalet::win32 {
namespace {

using ::testing::ElementsAreArray;
using ::testing::Gt;
using ::testing::Each;

// Every wait is bounded by a deadline far beyond what a loaded machine needs,
// so a broken timer fails the test instead of hanging it.
constexpr DWORD kPatience = 10000;
// Long enough for every callback already running to have posted its tick.
constexpr DWORD kSettle = 300;

void DispatchQueuedMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Runs the message loop until `done` holds or `milliseconds` have passed;
// returns whether `done` held.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;) {
        DispatchQueuedMessages();
        if (done()) return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

void PumpFor(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

bool TickIsQueued() {
    MSG message;
    return ::PeekMessageW(&message, nullptr, WM_TIMERQUEUETICK, WM_TIMERQUEUETICK, PM_NOREMOVE) != 0;
}

// Blocks the thread (no message loop) until the timer's first tick is queued.
bool WaitUntilTickQueued() {
    const ULONGLONG deadline = ::GetTickCount64() + kPatience;
    while (!TickIsQueued()) {
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(5);
    }
    return true;
}

std::vector<std::uint32_t> OneTo(std::size_t n) {
    std::vector<std::uint32_t> result(n);
    std::iota(result.begin(), result.end(), 1u);
    return result;
}

std::vector<std::uint32_t> Sorted(std::vector<std::uint32_t> values) {
    std::sort(values.begin(), values.end());
    return values;
}

// A timer whose handler records the Count of every tick it receives.
class TimerQueueTimerTest : public ::testing::Test {
protected:
    TimerQueueTimerTest() {
        timer.SetOnTimer([this] { counts.push_back(timer.Count()); });
    }

    void TearDown() override {
        timer.SetEnabled(false);
        PumpFor(kSettle);  // leave no stray tick for the next test
    }

    bool PumpUntilTicks(std::size_t n) {
        return PumpUntil([&] { return counts.size() >= n; }, kPatience);
    }

    // Disables the timer and lets every tick already posted arrive.
    void StopAndDrain() {
        timer.SetEnabled(false);
        PumpFor(kSettle);
    }

    TTimerQueueTimer timer;
    std::vector<std::uint32_t> counts;
};

TEST_F(TimerQueueTimerTest, AFreshTimerIsDisabledWithOneSecondDueTimeAndPeriod) {
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.DueTime(), 1000u);
    EXPECT_EQ(timer.Period(), 1000u);
    EXPECT_EQ(timer.Count(), 0u);
}

TEST_F(TimerQueueTimerTest, DueTimeAndPeriodChangeOnlyWhileDisabled) {
    timer.SetDueTime(60000);
    timer.SetPeriod(25);
    EXPECT_EQ(timer.DueTime(), 60000u);
    EXPECT_EQ(timer.Period(), 25u);

    timer.SetEnabled(true);
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

TEST_F(TimerQueueTimerTest, CountRestartsAtOneAfterEveryEnabling) {
    timer.SetDueTime(0);
    timer.SetPeriod(50);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        counts.clear();
        timer.SetEnabled(true);
        ASSERT_TRUE(PumpUntilTicks(3));
        StopAndDrain();
        // Overlapping callbacks may post out of order, but every callback
        // number from 1 on arrives exactly once.
        EXPECT_THAT(Sorted(counts), ElementsAreArray(OneTo(counts.size())));
    }
}

TEST_F(TimerQueueTimerTest, EnablingARunningTimerNeitherRestartsNorDuplicatesIt) {
    timer.SetDueTime(0);
    timer.SetPeriod(20);
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntilTicks(3));

    timer.SetEnabled(true);
    const std::size_t before = counts.size();
    ASSERT_TRUE(PumpUntilTicks(before + 3));
    const std::vector<std::uint32_t> later(counts.begin() + static_cast<std::ptrdiff_t>(before), counts.end());
    EXPECT_THAT(later, Each(Gt(2u))) << "the count started over";

    // One disabling stops everything: no second system timer is left behind.
    timer.SetEnabled(false);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    PumpFor(kSettle);
    counts.clear();
    PumpFor(kSettle);
    EXPECT_TRUE(counts.empty());
}

TEST_F(TimerQueueTimerTest, FirstTickComesAfterTheDueTimeThenOneEveryPeriod) {
    timer.SetPeriod(25);  // DueTime stays at 1000
    timer.SetEnabled(true);
    PumpFor(500);
    EXPECT_TRUE(counts.empty()) << "ticked before the due time";

    ASSERT_TRUE(PumpUntilTicks(1));
    counts.clear();
    PumpFor(2000);
    // About 80 at 25 ms; the bounds only tell a 25 ms period from the
    // one-second due time or period, or from a runaway timer.
    EXPECT_GE(counts.size(), 10u);
    EXPECT_LE(counts.size(), 200u);
}

TEST_F(TimerQueueTimerTest, TicksOfABlockedThreadArriveBackToBackWhenItResumes) {
    timer.SetDueTime(0);
    timer.SetPeriod(25);
    timer.SetEnabled(true);
    ::Sleep(2000);

    DispatchQueuedMessages();
    // About 80 are waiting; a timer that merges pending ticks delivers one.
    EXPECT_GE(counts.size(), 10u);
    EXPECT_THAT(Sorted(counts), ElementsAreArray(OneTo(counts.size())));
}

TEST_F(TimerQueueTimerTest, ATickQueuedBeforeDisablingStillFiresOnce) {
    timer.SetDueTime(0);
    timer.SetPeriod(60000);
    timer.SetEnabled(true);
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
    timer.SetDueTime(0);
    timer.SetPeriod(20);
    timer.SetEnabled(true);

    const bool ticked = PumpUntilTicks(3);
    SetErrorHandler(std::move(previous));
    ASSERT_TRUE(ticked);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(reports.size(), counts.size());
    EXPECT_THAT(reports, Each(std::wstring(L"fade step failed")));
}

// The handler outlives every timer, so a tick delivered after destruction
// would show up here instead of touching freed memory unnoticed.
class TimerLifetimeTest : public ::testing::Test {
protected:
    std::unique_ptr<TTimerQueueTimer> MakeFastTimer() {
        auto timer = std::make_unique<TTimerQueueTimer>();
        timer->SetOnTimer([this] { ++ticks; });
        timer->SetDueTime(0);
        timer->SetPeriod(1);
        return timer;
    }

    int ticks = 0;
};

TEST_F(TimerLifetimeTest, NoTickIsDeliveredAfterDestruction) {
    for (int round = 0; round < 20; ++round) {
        auto timer = MakeFastTimer();
        timer->SetEnabled(true);
        ASSERT_TRUE(WaitUntilTickQueued());
        timer.reset();
        ticks = 0;
        PumpFor(20);
        ASSERT_EQ(ticks, 0) << "round " << round;
    }
}

TEST_F(TimerLifetimeTest, DisablingRightBeforeDestructionOrReenablingIsSafe) {
    for (int round = 0; round < 50; ++round) {
        auto timer = MakeFastTimer();
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
        ASSERT_EQ(ticks, 0) << "round " << round;
    }
}

TEST_F(TimerLifetimeTest, AHandlerMayFreeItsOwnTimer) {
    auto timer = MakeFastTimer();
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
