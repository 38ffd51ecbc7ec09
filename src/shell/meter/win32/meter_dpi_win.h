#pragma once
// The meter on monitors of any DPI (the rules are in shell/meter/meter_dpi.h): the
// DPI of the monitor its window is on, what a change of it moves and resizes,
// and the notification area's icon size.
#include <windows.h>

#include "base/win32/dpi_win.h"
#include "rendering/win32/traffic_graph_control_win.h"
#include "rendering/win32/tray_icon_gauge_win.h"
#include "shell/meter/meter_dpi.h"
#include "shell/meter/win32/window_placement_win.h"

namespace orvalet::win32 {

// The side of the notification area's icons: the small-icon size at the
// system DPI (16, 20, 24, 28 or 32 pixels at 100 to 200 %).
int NotificationIconSize();

// Gives the gauge the notification area's icon size; true when that is a
// new size, whose icon the notification area has yet to get.
bool FitGaugeToNotificationArea(TrayGaugeIcon& gauge);

// Moves and sizes the window to stored bounds. A move onto a monitor of
// another DPI may have the system resize the window for that DPI; the stored
// rectangle, the window's pixels on the desktop, stands.
void PlaceWindowAt(HWND window, const WindowBounds& bounds);

class MeterDpi {
public:
    // Takes the DPI of the window's monitor and sets the size limits for it.
    void Attach(HWND window, WindowSizeLimits& limits);

    UINT Dpi() const noexcept { return static_cast<UINT>(dpi_); }
    // How much of the window stays on the desktop at this DPI.
    PlacementMargins Margins() const { return PlacementMarginsAt(dpi_); }

    // WM_DPICHANGED: the graph and the size limits at the new DPI, then the
    // window at the rectangle the system suggests. The owner then lays the
    // graph out at the window's new size.
    void TakeDpiChange(HWND window, WPARAM wParam, LPARAM lParam, TrafficGraphControl& graph,
                       WindowSizeLimits& limits);

private:
    int dpi_ = kDesignDpi;
};

}  // namespace orvalet::win32
