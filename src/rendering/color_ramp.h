#pragma once
// The one colour-ramp rule behind the graph's gradient background and the
// tray icon gauge's tracks and bars.
#include "base/rounding.h"
#include "rendering/graph_types.h"

namespace orvalet {

// Entry i (0-based) of a ramp of `count` entries from `start` towards `end`:
// per channel start + R(D / count * i), D the channel's change, the quotient
// taken first. The last entry stops short of `end` in every channel that
// changes by more than half the count.
inline Color RampColor(Color start, Color end, int count, int i) {
    Color color = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int from = static_cast<int>((start >> shift) & 0xFF);
        const double step = static_cast<double>(static_cast<int>((end >> shift) & 0xFF) - from) / count;
        const auto channel = static_cast<std::uint32_t>(from + RoundHalfEven(step * i)) & 0xFFu;
        color |= channel << shift;
    }
    return color;
}

}  // namespace orvalet
