#include "shell/meter_dpi.h"

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

int ScaleBetween(int pixels, int fromDpi, int toDpi) {
    return ToSize((std::int64_t{pixels} * toDpi * 2 + fromDpi) / (std::int64_t{fromDpi} * 2));
}

}  // namespace

int ScaleToDpi(int pixelsAt96, int dpi) { return ScaleBetween(pixelsAt96, kDesignDpi, std::max(dpi, 1)); }

int ReportedDpi(unsigned reported, int current) {
    if (reported < kLowestDpi || reported > kHighestDpi) return current;
    return static_cast<int>(reported);
}

PlacementMargins PlacementMarginsAt(int dpi) {
    const PlacementMargins design;
    return {ScaleToDpi(design.minimumOverlap, dpi), ScaleToDpi(design.cornerInset, dpi)};
}

WindowBounds BoundsForDpiChange(const WindowBounds& current, const ScreenRect* suggested, int oldDpi, int newDpi) {
    if (suggested && suggested->right > suggested->left && suggested->bottom > suggested->top)
        return {suggested->left, suggested->top, ToSize(std::int64_t{suggested->right} - suggested->left),
                ToSize(std::int64_t{suggested->bottom} - suggested->top)};
    WindowBounds scaled = current;
    if (oldDpi > 0 && newDpi > 0) {
        scaled.width = ScaleBetween(current.width, oldDpi, newDpi);
        scaled.height = ScaleBetween(current.height, oldDpi, newDpi);
    }
    return scaled;
}

}  // namespace orvalet
