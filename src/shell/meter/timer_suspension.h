#pragma once
// The sampling and effect timers stop while the system sleeps and come back
// as they were when it wakes: the bookkeeping, without the window system.
#include <cstdint>
#include <optional>

namespace orvalet {

// Whether each of the three timers runs.
struct TimerStates {
    bool sampling = false;   // PD_Timer
    bool fade = false;       // FG_Timer
    bool mouseFade = false;  // MF_Timer
    friend bool operator==(const TimerStates&, const TimerStates&) = default;
};

// What a power broadcast means for the timers.
enum class PowerEvent { None, Suspend, Resume };

// Suspend and standby stop the timers; the resumes from them restore them.
// An automatic resume alone (the system woke without a user) changes nothing.
PowerEvent ClassifyPowerBroadcast(std::uint64_t wParam) noexcept;

class TimerSuspension {
public:
    bool TimersSuspended() const noexcept { return timersSuspended_; }

    // Remembers the running states and answers the states to set (all off);
    // nothing when the timers are already suspended, so a repeated suspend
    // keeps the states of the first.
    std::optional<TimerStates> SuspendTimers(const TimerStates& running) noexcept;
    // The states remembered at the suspension; nothing when not suspended.
    std::optional<TimerStates> ResumeTimers() noexcept;

private:
    bool timersSuspended_ = false;
    TimerStates statesBefore_;
};

}  // namespace orvalet
