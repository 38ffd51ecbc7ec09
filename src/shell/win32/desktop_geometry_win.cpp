#include "shell/win32/desktop_geometry_win.h"

#include <windows.h>

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
        monitors.push_back({ToScreenRect(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
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
            desktop.monitors.push_back({ToScreenRect(work), true});
    }
    return desktop;
}

}  // namespace orvalet::win32
