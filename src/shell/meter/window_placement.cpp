#include "shell/meter/window_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orvalet {
namespace {

// Positions are computed in 64 bits: a stored edge near the end of the
// 32-bit range must not wrap around into the visible desktop.
int ToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

bool OverlapsEnough(std::int64_t position, std::int64_t extent, std::int64_t areaStart, std::int64_t areaExtent,
                    std::int64_t overlap) {
    return position >= areaStart - extent + overlap && position <= areaStart + areaExtent - overlap;
}

bool OverlapsEnough(const WindowBounds& window, const ScreenRect& area, int overlap) {
    return OverlapsEnough(window.left, window.width, area.left, area.Width(), overlap) &&
           OverlapsEnough(window.top, window.height, area.top, area.Height(), overlap);
}

}  // namespace

WindowBounds StoredWindowBounds(const OVL_OptionsRecord& options) {
    return {options.WindowLeft, options.WindowTop, options.WindowWidth, options.WindowHeight};
}

void StoreWindowBounds(OVL_OptionsRecord& options, const WindowBounds& bounds) {
    options.WindowLeft = bounds.left;
    options.WindowTop = bounds.top;
    options.WindowWidth = bounds.width;
    options.WindowHeight = bounds.height;
}

ScreenRect PrimaryWorkArea(const DesktopGeometry& desktop) {
    for (const MonitorArea& monitor : desktop.monitors) {
        if (monitor.primary) return monitor.workArea;
    }
    if (!desktop.monitors.empty()) return desktop.monitors.front().workArea;
    return desktop.virtualDesktop;
}

bool IsWindowReachable(const WindowBounds& window, const DesktopGeometry& desktop, const PlacementMargins& margins,
                       ReachArea area) {
    if (window.left == kUnplacedPosition || window.top == kUnplacedPosition) return false;
    if (desktop.monitors.empty()) return OverlapsEnough(window, desktop.virtualDesktop, margins.minimumOverlap);
    return std::ranges::any_of(desktop.monitors, [&](const MonitorArea& monitor) {
        return OverlapsEnough(window, area == ReachArea::WorkArea ? monitor.workArea : monitor.bounds,
                              margins.minimumOverlap);
    });
}

WindowBounds FitWindowToDesktop(const WindowBounds& window, const DesktopGeometry& desktop,
                                const PlacementMargins& margins, ReachArea area) {
    if (IsWindowReachable(window, desktop, margins, area)) return window;
    const ScreenRect work = PrimaryWorkArea(desktop);
    WindowBounds moved = window;
    moved.left = ToInt(std::int64_t{work.right} - window.width - margins.cornerInset);
    moved.top = ToInt(std::int64_t{work.bottom} - window.height - margins.cornerInset);
    return moved;
}

SizeLimits ComputeSizeLimits(int minimumSize, int graphMaxWidth, int windowWidth, int clientWidth) {
    SizeLimits limits;
    limits.minWidth = minimumSize;
    limits.minHeight = minimumSize;
    // A graph that has not rendered yet knows no width: no maximum then.
    if (graphMaxWidth <= 0) return limits;
    const std::int64_t frame = std::max<std::int64_t>(0, std::int64_t{windowWidth} - clientWidth);
    limits.maxWidth = std::max(minimumSize, ToInt(std::int64_t{graphMaxWidth} + frame));
    return limits;
}

WindowBounds ClampToSizeLimits(const WindowBounds& window, const SizeLimits& limits) {
    WindowBounds clamped = window;
    clamped.width = std::max(window.width, limits.minWidth);
    if (limits.maxWidth > 0) clamped.width = std::min(clamped.width, std::max(limits.minWidth, limits.maxWidth));
    clamped.height = std::max(window.height, limits.minHeight);
    return clamped;
}

}  // namespace orvalet
