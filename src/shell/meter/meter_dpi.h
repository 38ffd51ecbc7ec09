#pragma once
// The meter on monitors of any DPI: its pixel constants, designed at 96 DPI,
// at the DPI of the monitor it is on, and where the window goes when that DPI
// changes. The window procedure feeds in what the system reports
// (win32/meter_dpi_win.h).
#include "base/dpi_scale.h"
#include "shell/meter/window_placement.h"

namespace orvalet {

// The DPI a change reports, or `current` when the report makes no sense: 0,
// or beyond what any screen is set to (a quarter of 96 to 25 times it).
int ReportedDpi(unsigned reported, int current);

// How much of the window must stay on the desktop, and how far from the
// work area's corner it goes otherwise, at a DPI.
PlacementMargins PlacementMarginsAt(int dpi);

// Where the window goes when its DPI changes: the rectangle the system
// suggests, or its current place when there is none that can hold a window.
WindowBounds BoundsForDpiChange(const WindowBounds& current, const ScreenRect* suggested);

}  // namespace orvalet
