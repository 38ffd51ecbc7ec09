#pragma once
#include <cmath>
#include <cstdint>

namespace orvalet {

// R(x): nearest integer, halves to the even neighbour (banker's rounding).
// All drawing arithmetic and the moving averages round this way.
inline std::int64_t RoundHalfEven(double x) {
    if (!std::isfinite(x)) return 0;
    const double r = std::nearbyint(x);  // default FP mode rounds half to even
    if (r >= 9.2233720368547758e18) return INT64_MAX;
    if (r <= -9.2233720368547758e18) return INT64_MIN;
    return static_cast<std::int64_t>(r);
}

}  // namespace orvalet
