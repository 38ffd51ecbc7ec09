#include "shell/meter/win32/window_placement_win.h"

#include "shell/meter/meter_dpi.h"

namespace orvalet::win32 {
namespace {

ScreenRect ToScreenRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// A system callback: no exception may leave it. Running out of memory ends
// the enumeration; the monitors listed so far (or the fallbacks) serve.
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) noexcept {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
    auto& monitors = *reinterpret_cast<std::vector<MonitorArea>*>(data);
    try {
        monitors.push_back(
            {ToScreenRect(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0, ToScreenRect(info.rcMonitor)});
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

}  // namespace

DesktopGeometry QueryDesktopGeometry() {
    DesktopGeometry desktop;
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    desktop.virtualDesktop = {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                              top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&desktop.monitors));
    if (desktop.monitors.empty()) {
        // Without a monitor list the system's own work area stands in.
        RECT work{};
        if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
            desktop.monitors.push_back({ToScreenRect(work), true, desktop.virtualDesktop});
    }
    return desktop;
}

WindowBounds WindowBoundsOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void SetWindowBounds(HWND window, const WindowBounds& bounds) {
    ::SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepWindowReachable(HWND window, const PlacementMargins& margins, ReachArea area) {
    const WindowBounds current = WindowBoundsOf(window);
    const WindowBounds fitted = FitWindowToDesktop(current, QueryDesktopGeometry(), margins, area);
    if (fitted != current) SetWindowBounds(window, fitted);
}

void WindowSizeLimits::Update(HWND window, int graphMaxWidth) {
    RECT client{};
    ::GetClientRect(window, &client);
    const WindowBounds bounds = WindowBoundsOf(window);
    limits_ = ComputeSizeLimits(limits_.minWidth, graphMaxWidth, bounds.width, client.right - client.left);
    const WindowBounds clamped = ClampToSizeLimits(bounds, limits_);
    if (clamped != bounds) SetWindowBounds(window, clamped);
}

void WindowSizeLimits::SetDpi(int dpi) noexcept {
    const int minimum = ScaleToDpi(minimumAt96_, dpi);
    limits_ = {minimum, minimum, 0};
}

void WindowSizeLimits::ApplyTo(MINMAXINFO& info) const noexcept {
    info.ptMinTrackSize.x = limits_.minWidth;
    info.ptMinTrackSize.y = limits_.minHeight;
    if (limits_.maxWidth > 0) info.ptMaxTrackSize.x = limits_.maxWidth;
}

}  // namespace orvalet::win32
