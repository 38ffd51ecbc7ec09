#include "shell/timer/win32/timer_queue_timer_win.h"

#include "base/error_handler.h"
#include "base/win32/base_window.h"
#include "shell/timer/timer_queue_timer.h"

namespace orvalet::win32 {

// The hidden message-only window that turns posted ticks into handler calls
// on the thread that created it.
class TTimerQueueTimer::TickWindow : public BaseWindow<TickWindow> {
public:
    explicit TickWindow(TTimerQueueTimer& timer) noexcept : timer_(timer) {}
    // Destroy here, while the derived object is still whole, so the final
    // messages of the window never reach a half-destroyed object.
    ~TickWindow() override { Destroy(); }

    static const wchar_t* ClassName() noexcept { return L"OrvaletTimerQueueTimerWindow"; }

    bool Create() noexcept { return CreateWindowHandle(0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message != WM_TIMERQUEUETICK) return DefaultHandling(message, wParam, lParam);
        // The handler may free the timer and with it this window: touch
        // nothing of either after the call.
        timer_.DeliverTick(static_cast<std::uint32_t>(lParam));
        return 0;
    }

private:
    TTimerQueueTimer& timer_;
};

TTimerQueueTimer::TTimerQueueTimer(TimerQueueFunctions functions)
    : FFunctions(functions),
      FWindow(std::make_unique<TickWindow>(*this)),
      FStoppedEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (FWindow->Create()) FWindowHandle = FWindow->Handle();
}

TTimerQueueTimer::~TTimerQueueTimer() {
    StopTimerAndWait();
    FWindow.reset();  // discards the ticks still queued for the window
}

void TTimerQueueTimer::SetEnabled(bool value) noexcept {
    if (value == FEnabled) return;
    if (value) {
        StartTimer();
    } else {
        StopTimer();
    }
}

void TTimerQueueTimer::SetNeeded(bool value) noexcept {
    if (value == FNeeded) return;
    FNeeded = value;
    if (!FEnabled) return;
    if (!value) {
        Disarm();
        return;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                              FEnabledAt);
    if (const auto delay = DelayToNextTick(static_cast<std::uint64_t>(elapsed.count()), FDueTime, FPeriod))
        FEnabled = Arm(static_cast<std::uint32_t>(*delay));
}

void TTimerQueueTimer::SetDueTime(std::uint32_t value) noexcept {
    if (!FEnabled) FDueTime = value;
}

void TTimerQueueTimer::SetPeriod(std::uint32_t value) noexcept {
    if (!FEnabled) FPeriod = value;
}

void TTimerQueueTimer::DoTimer() {
    if (!FOnTimer) return;
    // A copy, so a handler that replaces itself or frees the timer keeps
    // running on a live object.
    const TNotifyEvent handler = FOnTimer;
    handler();
}

void CALLBACK TTimerQueueTimer::TimerQueueCallback(void* parameter, BOOLEAN /*timerFired*/) noexcept {
    // Runs on a timer-queue worker thread: count and hand over, nothing else.
    auto* timer = static_cast<TTimerQueueTimer*>(parameter);
    const std::uint32_t count = timer->FThreadCount.fetch_add(1, std::memory_order_relaxed) + 1;
    ::PostMessageW(timer->FWindowHandle, WM_TIMERQUEUETICK, 0, static_cast<LPARAM>(count));
}

void TTimerQueueTimer::DeliverTick(std::uint32_t count) noexcept {
    FCount = count;
    RunGuarded([this] { DoTimer(); });
}

void TTimerQueueTimer::StartTimer() noexcept {
    // A callback of the previous system timer may still be on its way out;
    // it must not count into the fresh run.
    WaitForStoppedCallbacks();
    FThreadCount.store(0, std::memory_order_relaxed);
    FCount = 0;
    FEnabledAt = std::chrono::steady_clock::now();
    FEnabled = !FNeeded || Arm(FDueTime);
}

bool TTimerQueueTimer::Arm(std::uint32_t dueTime) noexcept {
    WaitForStoppedCallbacks();
    if (!FWindowHandle) return false;  // without the window no tick could arrive

    HANDLE timer = nullptr;
    if (!FFunctions.CreateTimerQueueTimer(&timer, nullptr, &TimerQueueCallback, this, dueTime, FPeriod,
                                          WT_EXECUTEDEFAULT))
        return false;
    FTimerHandle.reset(timer);
    return true;
}

void TTimerQueueTimer::StopTimer() noexcept {
    FEnabled = false;
    Disarm();
}

void TTimerQueueTimer::Disarm() noexcept {
    if (!FTimerHandle) return;
    if (!FStoppedEvent) {
        // Without an event to track a running callback, waiting is the only
        // way to be sure none outlives the timer.
        FTimerHandle.reset();
        return;
    }
    // Returns at once; the event tells later when a running callback is done.
    ::ResetEvent(FStoppedEvent.get());
    if (FFunctions.DeleteTimerQueueTimer(nullptr, FTimerHandle.get(), FStoppedEvent.get())) {
        FTimerHandle.release();
    } else if (::GetLastError() == ERROR_IO_PENDING) {
        FTimerHandle.release();
        FStopPending = true;
    } else {
        // Any other failure leaves the system timer in place, still able to
        // call into this object: delete it the waiting way instead.
        DisarmAndWait();
    }
}

void TTimerQueueTimer::DisarmAndWait() noexcept {
    FTimerHandle.reset();  // waits for a running callback
    WaitForStoppedCallbacks();
}

void TTimerQueueTimer::StopTimerAndWait() noexcept {
    FEnabled = false;
    DisarmAndWait();
}

void TTimerQueueTimer::WaitForStoppedCallbacks() noexcept {
    if (!FStopPending) return;
    ::WaitForSingleObject(FStoppedEvent.get(), INFINITE);
    FStopPending = false;
}

}  // namespace orvalet::win32
