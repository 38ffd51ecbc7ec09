#include "shell/meter/win32/meter_dpi_win.h"

namespace orvalet::win32 {

int NotificationIconSize() { return SystemMetricForDpi(SM_CXSMICON, SystemDpi()); }

bool FitGaugeToNotificationArea(TrayGaugeIcon& gauge) { return gauge.SetIconSize(NotificationIconSize()); }

void PlaceWindowAt(HWND window, const WindowBounds& bounds) {
    SetWindowBounds(window, bounds);
    if (WindowBoundsOf(window) != bounds) SetWindowBounds(window, bounds);
}

void MeterDpi::Attach(HWND window, WindowSizeLimits& limits) {
    dpi_ = static_cast<int>(WindowDpi(window));
    limits.SetDpi(dpi_);
}

void MeterDpi::TakeDpiChange(HWND window, WPARAM wParam, LPARAM lParam, TrafficGraphControl& graph,
                             WindowSizeLimits& limits) {
    dpi_ = ReportedDpi(LOWORD(wParam), dpi_);
    graph.SetDpi(Dpi());
    limits.SetDpi(dpi_);
    const RECT* rect = reinterpret_cast<const RECT*>(lParam);
    const ScreenRect suggested = rect ? ScreenRect{rect->left, rect->top, rect->right, rect->bottom} : ScreenRect{};
    SetWindowBounds(window, BoundsForDpiChange(WindowBoundsOf(window), rect ? &suggested : nullptr));
}

}  // namespace orvalet::win32
