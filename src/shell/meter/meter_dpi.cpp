#include "shell/meter/meter_dpi.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orvalet {
namespace {

constexpr int kLowestDpi = kDesignDpi / 4;
constexpr int kHighestDpi = kDesignDpi * 25;

int ToSize(std::int64_t pixels) {
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 0, std::numeric_limits<int>::max()));
}

}  // namespace

int ReportedDpi(unsigned reported, int current) {
    if (reported < kLowestDpi || reported > kHighestDpi) return current;
    return static_cast<int>(reported);
}

PlacementMargins PlacementMarginsAt(int dpi) {
    const PlacementMargins design;
    return {ScaleToDpi(design.minimumOverlap, dpi), ScaleToDpi(design.cornerInset, dpi)};
}

WindowBounds BoundsForDpiChange(const WindowBounds& current, const ScreenRect* suggested) {
    if (!suggested || suggested->right <= suggested->left || suggested->bottom <= suggested->top) return current;
    return {suggested->left, suggested->top, ToSize(std::int64_t{suggested->right} - suggested->left),
            ToSize(std::int64_t{suggested->bottom} - suggested->top)};
}

}  // namespace orvalet
