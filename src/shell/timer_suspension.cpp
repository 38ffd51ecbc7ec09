#include "shell/timer_suspension.h"

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

std::optional<TimerStates> TTimerSuspension::SuspendTimers(const TimerStates& running) noexcept {
    if (FTimersSuspended) return std::nullopt;
    FTimersSuspended = true;
    FOldState = running;
    return TimerStates{};
}

std::optional<TimerStates> TTimerSuspension::ResumeTimers() noexcept {
    if (!FTimersSuspended) return std::nullopt;
    FTimersSuspended = false;
    return FOldState;
}

}  // namespace orvalet
