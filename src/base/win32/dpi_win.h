#pragma once
// The dots per inch a window is drawn at, and pixel constants scaled to it.
#include <windows.h>

#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

inline constexpr UINT kDefaultDpi = 96;

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
    return ScreenDpi();
}

// A length designed at 96 DPI, at the given DPI (rounded to nearest).
inline int Scale(int pixels, UINT dpi) noexcept {
    return ::MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

}  // namespace orvalet::win32
