#include "shell/win32/window_appearance_win.h"

#include "base/win32/dpi_win.h"

namespace orvalet::win32 {
namespace {

constexpr UINT kFrameChange = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

DWORD BorderStyleBits(BorderStyle style) noexcept {
    switch (style) {
        case BorderStyle::SizeableToolWindow: return WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
        case BorderStyle::FixedToolWindow: return WS_CAPTION | WS_SYSMENU;
        case BorderStyle::None: return WS_POPUP;
    }
    return 0;
}

int CaptionHeight(HWND window) noexcept {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = SystemFunction<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
    return forDpi ? forDpi(SM_CYCAPTION, WindowDpi(window)) : ::GetSystemMetrics(SM_CYCAPTION);
}

void TWindowAppearance::ApplyWindowStyle(std::int32_t windowStyle) noexcept {
    switch (windowStyle) {
        case 0:
        case 1:
            // Through the fixed style, so the sizeable bits are always
            // written anew: a caption removed earlier comes back.
            SetBorderStyle(BorderStyle::FixedToolWindow);
            SetBorderStyle(BorderStyle::SizeableToolWindow);
            if (windowStyle == 1) RemoveCaptionKeepingBorder();
            break;
        case 2:
            SetBorderStyle(BorderStyle::None);
            break;
        default:
            break;
    }
}

void TWindowAppearance::SetBorderStyle(BorderStyle style) noexcept {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    const auto current = static_cast<DWORD>(::GetWindowLongPtrW(FWindow, GWL_STYLE));
    ::SetWindowLongPtrW(FWindow, GWL_STYLE, (current & ~kBorderStyleMask) | BorderStyleBits(style));
    SetExStyleBit(kToolWindowExStyle, true);
    ::SetWindowPos(FWindow, nullptr, 0, 0, 0, 0, kFrameChange);
}

// Drops the caption's dialog frame but keeps the thin border and the sizing
// frame; the height nudge makes the system lay the frame out anew and ends
// where it began.
void TWindowAppearance::RemoveCaptionKeepingBorder() noexcept {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(FWindow, GWL_STYLE));
    ::SetWindowLongPtrW(FWindow, GWL_STYLE, (style & ~WS_CAPTION) | WS_BORDER);
    const int caption = CaptionHeight(FWindow);
    ResizeHeightBy(caption);
    ResizeHeightBy(-caption);
}

void TWindowAppearance::ResizeHeightBy(int delta) noexcept {
    RECT rect{};
    ::GetWindowRect(FWindow, &rect);
    ::SetWindowPos(FWindow, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + delta,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWindowAppearance::ApplyEffects(bool topMost, bool transparent, std::int32_t transparencyValue,
                                     bool clickThrough) noexcept {
    SetTopMost(topMost);
    SetAlpha(static_cast<std::uint8_t>(transparencyValue & 0xFF));
    SetTransparent(transparent);
    SetClickThrough(transparent && clickThrough);
}

void TWindowAppearance::SetTopMost(bool topMost) noexcept {
    FTopMost = topMost;
    ::SetWindowPos(FWindow, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWindowAppearance::SetAlpha(std::uint8_t alpha) noexcept {
    FAlpha = alpha;
    if (FTransparent) ::SetLayeredWindowAttributes(FWindow, 0, FAlpha, LWA_ALPHA);
}

void TWindowAppearance::SetTransparent(bool transparent) noexcept {
    FTransparent = transparent;
    const bool changed = SetExStyleBit(WS_EX_LAYERED, transparent);
    if (transparent) {
        ::SetLayeredWindowAttributes(FWindow, 0, FAlpha, LWA_ALPHA);
    } else if (changed) {
        ::RedrawWindow(FWindow, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TWindowAppearance::SetClickThrough(bool clickThrough) noexcept {
    SetExStyleBit(WS_EX_TRANSPARENT, clickThrough);
}

bool TWindowAppearance::SetExStyleBit(DWORD bit, bool on) noexcept {
    const auto current = static_cast<DWORD>(::GetWindowLongPtrW(FWindow, GWL_EXSTYLE));
    const DWORD wanted = on ? (current | bit) : (current & ~bit);
    if (wanted == current) return false;
    ::SetWindowLongPtrW(FWindow, GWL_EXSTYLE, static_cast<LONG_PTR>(wanted));
    return true;
}

}  // namespace orvalet::win32
