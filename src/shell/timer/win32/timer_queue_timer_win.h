#pragma once
// A periodic timer driven by the process's system timer queue whose ticks run
// on the thread that created it. The timer-queue callback only counts and
// posts a message to a hidden window of the timer; the handler runs when that
// thread's message loop (the main loop or any modal loop) dispatches it.
//
// Posted ticks are neither merged nor dropped: if the owning thread is busy,
// they wait in its queue and are delivered back to back afterwards.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

// The tick message; LParam carries the callback number (zero-extended).
inline constexpr UINT WM_TIMERQUEUETICK = WM_APP + 0x29A;

// The system calls that start a timer and stop it without waiting; tests
// substitute their own.
struct TimerQueueFunctions {
    decltype(&::DeleteTimerQueueTimer) DeleteTimerQueueTimer = &::DeleteTimerQueueTimer;
    decltype(&::CreateTimerQueueTimer) CreateTimerQueueTimer = &::CreateTimerQueueTimer;
};

class TTimerQueueTimer {
public:
    using TNotifyEvent = std::function<void()>;

    // Creates a disabled timer (DueTime 1000, Period 1000) and its hidden
    // window. Construct it on the thread that is to receive the ticks.
    explicit TTimerQueueTimer(TimerQueueFunctions functions = {});
    // Stops the timer, waits for a callback that is still running, and
    // destroys the window together with any ticks still queued for it.
    virtual ~TTimerQueueTimer();

    TTimerQueueTimer(const TTimerQueueTimer&) = delete;
    TTimerQueueTimer& operator=(const TTimerQueueTimer&) = delete;

    // Enabling a running timer does not restart it; disabling a stopped one
    // does nothing. Enabling fails silently (Enabled stays false) when the
    // system timer cannot be created.
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool value) noexcept;

    // Whether the owner wants ticks at the moment (true unless told
    // otherwise). An enabled timer that is not needed keeps its schedule -
    // the first tick DueTime after enabling, then one every Period - without
    // a system timer, so it wakes nothing; needed again, it ticks on that
    // same schedule. Count is not affected, and neither is Enabled, except
    // that a system timer that cannot be created when the timer is needed
    // again disables it, as a failed enabling does.
    bool Needed() const noexcept { return FNeeded; }
    void SetNeeded(bool value) noexcept;
    // Whether a system timer runs for this timer now.
    bool Armed() const noexcept { return static_cast<bool>(FTimerHandle); }

    // Milliseconds from enabling to the first tick, and between ticks. Both
    // change only while the timer is disabled; a value written while it runs
    // is discarded.
    std::uint32_t DueTime() const noexcept { return FDueTime; }
    void SetDueTime(std::uint32_t value) noexcept;
    std::uint32_t Period() const noexcept { return FPeriod; }
    void SetPeriod(std::uint32_t value) noexcept;

    // The tick handler. An exception it throws goes to the application's
    // error handler, and the timer keeps running.
    const TNotifyEvent& OnTimer() const noexcept { return FOnTimer; }
    void SetOnTimer(TNotifyEvent handler) { FOnTimer = std::move(handler); }

    // The number of the callback whose tick is being delivered: 1 for the
    // first tick after every enabling. A gap means a post was lost.
    std::uint32_t Count() const noexcept { return FCount; }

protected:
    // Fires OnTimer; runs on the owning thread for every delivered tick.
    virtual void DoTimer();

private:
    class TickWindow;

    static void CALLBACK TimerQueueCallback(void* parameter, BOOLEAN timerFired) noexcept;
    void DeliverTick(std::uint32_t count) noexcept;
    void StartTimer() noexcept;
    bool Arm(std::uint32_t dueTime) noexcept;
    void Disarm() noexcept;
    void StopTimer() noexcept;
    void DisarmAndWait() noexcept;
    void StopTimerAndWait() noexcept;
    void WaitForStoppedCallbacks() noexcept;

    TimerQueueFunctions FFunctions;
    std::uint32_t FDueTime = 1000;
    std::uint32_t FPeriod = 1000;
    UniqueTimerQueueTimer FTimerHandle;
    std::unique_ptr<TickWindow> FWindow;
    HWND FWindowHandle = nullptr;
    // Written by the timer-queue threads; their callbacks may overlap.
    std::atomic<std::uint32_t> FThreadCount{0};
    std::uint32_t FCount = 0;
    TNotifyEvent FOnTimer;
    bool FEnabled = false;
    bool FNeeded = true;
    std::chrono::steady_clock::time_point FEnabledAt;

    // Signalled once the callbacks of the last disabled system timer have all
    // returned; enabling and destruction wait for it so that no late callback
    // of an old timer touches the counter or a freed timer.
    UniqueKernelHandle FStoppedEvent;
    bool FStopPending = false;
};

}  // namespace orvalet::win32
