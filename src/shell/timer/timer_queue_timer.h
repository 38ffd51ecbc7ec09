#pragma once
// The schedule of a periodic timer: its first tick comes dueTime after it was
// enabled, then one every period. A timer that is idle for a while can leave
// its schedule unarmed and take it up again exactly where it would be.
#include <cstdint>
#include <optional>

namespace orvalet {

// Milliseconds from `elapsed` (since enabling) to the next tick of the
// schedule; 0 when a tick is due right now, none when a one-shot timer
// (period 0) has already ticked.
constexpr std::optional<std::uint64_t> DelayToNextTick(std::uint64_t elapsed, std::uint32_t dueTime,
                                                       std::uint32_t period) {
    if (elapsed <= dueTime) return dueTime - elapsed;
    if (period == 0) return std::nullopt;
    const std::uint64_t intoPeriod = (elapsed - dueTime) % period;
    return intoPeriod == 0 ? 0 : period - intoPeriod;
}

}  // namespace orvalet
