// Costs of the timer on the owning thread: handing one tick from the queue to
// the handler, and starting and stopping the system timer (done on every
// show, hide and power transition).
#include <windows.h>

#include <cstdint>

#include "harness.h"
#include "shell/timer/win32/timer_queue_timer_win.h"

namespace {

using orvalet::win32::TTimerQueueTimer;
using orvalet::win32::WM_TIMERQUEUETICK;

HWND FindTickWindow() {
    return ::FindWindowExW(HWND_MESSAGE, nullptr, L"OrvaletTimerQueueTimerWindow", nullptr);
}

ORVALET_WIN_BENCH(TimerQueueTimer_DeliverPostedTick) {
    TTimerQueueTimer timer;
    std::uint32_t last = 0;
    timer.SetOnTimer([&] { last = timer.Count(); });
    const HWND window = FindTickWindow();
    MSG message;
    for (std::size_t i = 0; i < iterations; ++i) {
        ::PostMessageW(window, WM_TIMERQUEUETICK, 0, static_cast<LPARAM>(i + 1));
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
    orvalet::bench::KeepAlive(last);
}

ORVALET_WIN_BENCH(TimerQueueTimer_EnableDisable) {
    TTimerQueueTimer timer;
    timer.SetDueTime(60000);
    for (std::size_t i = 0; i < iterations; ++i) {
        timer.SetEnabled(true);
        timer.SetEnabled(false);
    }
    orvalet::bench::KeepAlive(timer.Enabled());
}

}  // namespace
