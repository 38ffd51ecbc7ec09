#pragma once
// The dots per inch a window is drawn at, and pixel constants scaled to it.
#include <windows.h>

namespace orvalet::win32 {

inline constexpr UINT kDefaultDpi = 96;

// The window's DPI. GetDpiForWindow exists from Windows 10 1607 on; older
// systems (and a null window) fall back on the screen's logical DPI, which
// is what a system-DPI-aware program is drawn at there.
inline UINT WindowDpi(HWND window) noexcept {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    // The logical DPI a system-aware process sees is fixed for its lifetime,
    // so the screen is asked once rather than at every paint.
    static const UINT screenDpi = [] {
        int dpi = 0;
        if (const HDC screen = ::GetDC(nullptr)) {
            dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
            ::ReleaseDC(nullptr, screen);
        }
        return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
    }();
    return screenDpi;
}

// A length designed at 96 DPI, at the given DPI (rounded to nearest).
inline int Scale(int pixels, UINT dpi) noexcept {
    return ::MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

}  // namespace orvalet::win32
