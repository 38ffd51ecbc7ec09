#pragma once
// Lengths designed at 96 DPI, at the DPI of the screen they are shown on.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace orvalet {

inline constexpr int kDesignDpi = 96;

// A length designed at 96 DPI, at a DPI, to the nearest pixel (halves up);
// never below 0 or beyond what an int holds.
constexpr int ScaleToDpi(int pixelsAt96, int dpi) {
    const std::int64_t scaled = (std::int64_t{pixelsAt96} * dpi * 2 + kDesignDpi) / (kDesignDpi * 2);
    return static_cast<int>(std::clamp<std::int64_t>(scaled, 0, std::numeric_limits<int>::max()));
}

}  // namespace orvalet
