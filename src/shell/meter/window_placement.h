#pragma once
// Where the meter window may stand and how large it may be, independent of
// the window system: the window procedure feeds in the desktop's geometry.
#include <vector>

#include "settings/options.h"

namespace orvalet {

// A rectangle in screen pixels; right and bottom are exclusive.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct WindowBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

// The window's place and size as the options keep them.
WindowBounds StoredWindowBounds(const OVL_OptionsRecord& options);
void StoreWindowBounds(OVL_OptionsRecord& options, const WindowBounds& bounds);

struct MonitorArea {
    ScreenRect workArea;
    bool primary = false;
    ScreenRect bounds;  // the whole monitor
};

struct DesktopGeometry {
    ScreenRect virtualDesktop;          // the bounding box of all monitors
    std::vector<MonitorArea> monitors;  // in the system's enumeration order
};

// A left or top edge with this value marks a window that was never placed.
inline constexpr int kUnplacedPosition = -2147483647 - 1;

struct PlacementMargins {
    int minimumOverlap = 11;  // pixels of the window that must stay on the desktop per axis
    int cornerInset = 32;     // distance from the work area's right and bottom edges
};

// What of a monitor a window must lie on to be reached: the whole monitor,
// or only its work area, the part that taskbars and docked bars leave free.
// The work areas count when they change, so that a window a grown taskbar
// now covers comes back into view.
enum class ReachArea { Monitor, WorkArea };

// Whether a placed window lies enough on one of the monitors to be reached:
// at least minimumOverlap pixels of it on each axis. The monitors count, not
// the box around them all, in which a desktop of monitors of different
// sizes has gaps. Without a monitor list the virtual desktop stands in.
bool IsWindowReachable(const WindowBounds& window, const DesktopGeometry& desktop,
                       const PlacementMargins& margins = {}, ReachArea area = ReachArea::Monitor);

// The position that keeps a window reachable: its own when it is, otherwise
// the lower right corner of the primary monitor's work area. Only left and
// top ever change.
WindowBounds FitWindowToDesktop(const WindowBounds& window, const DesktopGeometry& desktop,
                                const PlacementMargins& margins = {}, ReachArea area = ReachArea::Monitor);

// The work area of the first monitor flagged primary. A system that flags
// none falls back on the first monitor, then on the virtual desktop.
ScreenRect PrimaryWorkArea(const DesktopGeometry& desktop);

struct SizeLimits {
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;  // 0: no maximum; the height is never limited
    friend bool operator==(const SizeLimits&, const SizeLimits&) = default;
};

// The meter never gets smaller than minimumSize on either axis, nor wider
// than its graph can fill (graphMaxWidth) plus the frame around the client
// area. A maximum below the minimum gives way to the minimum; a graph
// maximum of 0 (the graph has not measured itself) sets no maximum.
SizeLimits ComputeSizeLimits(int minimumSize, int graphMaxWidth, int windowWidth, int clientWidth);

// width and height brought within the limits.
WindowBounds ClampToSizeLimits(const WindowBounds& window, const SizeLimits& limits);

}  // namespace orvalet
