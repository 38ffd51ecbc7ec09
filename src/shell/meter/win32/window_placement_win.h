#pragma once
// Where the meter window stands and how large it may be: the placement rules
// of shell/window_placement.h applied to a real window on the real desktop.
#include <windows.h>

#include "shell/meter/window_placement.h"

namespace orvalet::win32 {

// The virtual desktop's bounds and every monitor's work area with its
// primary flag, in the system's enumeration order.
DesktopGeometry QueryDesktopGeometry();

// The window's outer rectangle, also while it is hidden.
WindowBounds WindowBoundsOf(HWND window);
// Moves and sizes the window without activating it or changing its place
// among the other windows.
void SetWindowBounds(HWND window, const WindowBounds& bounds);

// Moves the window back to the primary work area's corner when too little
// of it lies on the monitors, or on their work areas; the margins say how
// much must stay in reach.
void KeepWindowReachable(HWND window, const PlacementMargins& margins = {}, ReachArea area = ReachArea::Monitor);

// The window's size limits, for WM_GETMINMAXINFO. The minimum holds from the
// start, so that a small stored size survives placement; the maximum width
// stays 0 (none) until the graph has measured itself.
class WindowSizeLimits {
public:
    explicit WindowSizeLimits(int minimumSize) noexcept
        : minimumAt96_(minimumSize), limits_{minimumSize, minimumSize, 0} {}

    // The minimum (given at 96 DPI) at another DPI, and no maximum until the
    // next Update measures the frame at it.
    void SetDpi(int dpi) noexcept;

    // Works the limits out anew for the window's frame and the graph's widest,
    // and brings the window's size within them.
    void Update(HWND window, int graphMaxWidth);
    void ApplyTo(MINMAXINFO& info) const noexcept;
    const SizeLimits& Limits() const noexcept { return limits_; }

private:
    int minimumAt96_;
    SizeLimits limits_;
};

}  // namespace orvalet::win32
