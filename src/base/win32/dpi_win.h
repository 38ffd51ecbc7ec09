#pragma once
// The dots per inch a window is drawn at, and pixel constants scaled to it.
#include <windows.h>

#include "base/dpi_scale.h"
#include "base/win32/system_function_win.h"
#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

inline constexpr UINT kDefaultDpi = kDesignDpi;

// WM_DPICHANGED (Windows 8.1 and later).
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// The logical DPI of the screen. For a system-DPI-aware process it is fixed
// for the process's lifetime, so the screen is asked only once.
inline UINT ScreenDpi() noexcept {
    static const UINT dpi = [] {
        const WindowDC screen(nullptr);
        const int logical = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
        return logical > 0 ? static_cast<UINT>(logical) : kDefaultDpi;
    }();
    return dpi;
}

// The system DPI: the DPI of the primary monitor when the user signed in,
// which the notification area's icon sizes follow. GetDpiForSystem exists
// from Windows 10 1607 on; before, the screen's logical DPI is the same.
inline UINT SystemDpi() noexcept {
    using GetDpiForSystemFn = UINT(WINAPI*)();
    static const auto getDpiForSystem = SystemFunction<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
    const UINT dpi = getDpiForSystem ? getDpiForSystem() : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}

// A system metric (SM_*) at a DPI. GetSystemMetricsForDpi exists from
// Windows 10 1607 on; before, the metric is the system's, at the system DPI.
inline int SystemMetricForDpi(int index, UINT dpi) noexcept {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = SystemFunction<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
    return forDpi ? forDpi(index, dpi) : ::GetSystemMetrics(index);
}

// The system's fonts and non-client sizes at a DPI. SystemParametersInfoForDpi
// exists from Windows 10 1607 on; before, false and the metrics untouched.
inline bool NonClientMetricsForDpi(UINT dpi, NONCLIENTMETRICSW& metrics) noexcept {
    using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi =
        SystemFunction<SystemParametersInfoForDpiFn>(L"user32.dll", "SystemParametersInfoForDpi");
    metrics.cbSize = sizeof metrics;
    return forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
}

// The DPI of the monitor at a screen point, or `fallback` where the system
// cannot tell (before Windows 8.1). The shell's scaling library is loaded on
// the first call, so a meter that never asks does without it.
inline UINT MonitorDpiAt(POINT screenPoint, UINT fallback) noexcept {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto forMonitor = OnDemandSystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    const HMONITOR monitor = ::MonitorFromPoint(screenPoint, MONITOR_DEFAULTTONEAREST);
    if (!forMonitor || !monitor || FAILED(forMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) || y == 0)
        return fallback;
    return y;
}

// The window's DPI. GetDpiForWindow exists from Windows 10 1607 on; older
// systems (and a null window) fall back on the screen's logical DPI, which
// is what a system-DPI-aware program is drawn at there.
inline UINT WindowDpi(HWND window) noexcept {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = SystemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    return ScreenDpi();
}

// A length designed at 96 DPI, at the given DPI (rounded to nearest).
inline int Scale(int pixels, UINT dpi) noexcept { return ScaleToDpi(pixels, static_cast<int>(dpi)); }

// Sets the calling thread's DPI awareness while it lives, and puts the
// previous one back. Per-monitor awareness (v2) lets a top-level window the
// thread makes be laid out for the monitor it opens on and be told when it
// moves to another, instead of being stretched from the system DPI. Nothing
// changes on systems before Windows 10 1607.
class ThreadDpiAwarenessScope {
public:
    static HANDLE PerMonitorAware() noexcept { return reinterpret_cast<HANDLE>(-4); }  // PER_MONITOR_AWARE_V2
    // The awareness a window was made with, for calls into code written for it.
    static HANDLE OfWindow(HWND window) noexcept {
        using GetWindowDpiAwarenessContextFn = HANDLE(WINAPI*)(HWND);
        static const auto ofWindow =
            SystemFunction<GetWindowDpiAwarenessContextFn>(L"user32.dll", "GetWindowDpiAwarenessContext");
        return ofWindow && window ? ofWindow(window) : nullptr;
    }

    explicit ThreadDpiAwarenessScope(HANDLE context) noexcept {
        if (setContext_ && context) previous_ = setContext_(context);
    }
    ThreadDpiAwarenessScope(const ThreadDpiAwarenessScope&) = delete;
    ThreadDpiAwarenessScope& operator=(const ThreadDpiAwarenessScope&) = delete;
    ~ThreadDpiAwarenessScope() {
        if (previous_) setContext_(previous_);
    }

private:
    using SetThreadDpiAwarenessContextFn = HANDLE(WINAPI*)(HANDLE);
    SetThreadDpiAwarenessContextFn setContext_ =
        SystemFunction<SetThreadDpiAwarenessContextFn>(L"user32.dll", "SetThreadDpiAwarenessContext");
    HANDLE previous_ = nullptr;
};

}  // namespace orvalet::win32
