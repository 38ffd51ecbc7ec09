#include "shell/meter/timer_suspension.h"

namespace orvalet {
namespace {

constexpr std::uint32_t kApmSuspend = 4;
constexpr std::uint32_t kApmStandby = 5;
constexpr std::uint32_t kApmResumeSuspend = 7;
constexpr std::uint32_t kApmResumeStandby = 8;

}  // namespace

PowerEvent ClassifyPowerBroadcast(std::uint64_t wParam) noexcept {
    switch (static_cast<std::uint32_t>(wParam)) {
        case kApmSuspend:
        case kApmStandby: return PowerEvent::Suspend;
        case kApmResumeSuspend:
        case kApmResumeStandby: return PowerEvent::Resume;
        default: return PowerEvent::None;
    }
}

std::optional<TimerStates> TimerSuspension::SuspendTimers(const TimerStates& running) noexcept {
    if (timersSuspended_) return std::nullopt;
    timersSuspended_ = true;
    statesBefore_ = running;
    return TimerStates{};
}

std::optional<TimerStates> TimerSuspension::ResumeTimers() noexcept {
    if (!timersSuspended_) return std::nullopt;
    timersSuspended_ = false;
    return statesBefore_;
}

}  // namespace orvalet
