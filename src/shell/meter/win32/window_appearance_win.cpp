#include "shell/meter/win32/window_appearance_win.h"

#include "base/win32/dpi_win.h"
#include "settings/options.h"

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

int CaptionHeight(HWND window) noexcept { return SystemMetricForDpi(SM_CYCAPTION, WindowDpi(window)); }

void WindowAppearance::ApplyWindowStyle(std::int32_t windowStyle) noexcept {
    switch (windowStyle) {
        case kWithCaption:
        case kWithoutCaption:
            // Through the fixed style, so the sizeable bits are always
            // written anew: a caption removed earlier comes back.
            SetBorderStyle(BorderStyle::FixedToolWindow);
            SetBorderStyle(BorderStyle::SizeableToolWindow);
            if (windowStyle == kWithoutCaption) RemoveCaptionKeepingBorder();
            break;
        case kBorderless:
            SetBorderStyle(BorderStyle::None);
            break;
        default:
            break;
    }
}

void WindowAppearance::SetBorderStyle(BorderStyle style) noexcept {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    const auto current = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
    ::SetWindowLongPtrW(window_, GWL_STYLE, (current & ~kBorderStyleMask) | BorderStyleBits(style));
    SetExStyleBit(kToolWindowExStyle, true);
    ::SetWindowPos(window_, nullptr, 0, 0, 0, 0, kFrameChange);
}

// Drops the caption's dialog frame but keeps the thin border and the sizing
// frame; the height nudge makes the system lay the frame out anew and ends
// where it began.
void WindowAppearance::RemoveCaptionKeepingBorder() noexcept {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
    ::SetWindowLongPtrW(window_, GWL_STYLE, (style & ~WS_CAPTION) | WS_BORDER);
    const int caption = CaptionHeight(window_);
    ResizeHeightBy(caption);
    ResizeHeightBy(-caption);
}

void WindowAppearance::ResizeHeightBy(int delta) noexcept {
    RECT rect{};
    ::GetWindowRect(window_, &rect);
    ::SetWindowPos(window_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + delta,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowAppearance::ApplyEffects(bool topMost, bool transparent, std::int32_t transparencyValue,
                                    bool clickThrough) noexcept {
    SetTopMost(topMost);
    SetAlpha(static_cast<std::uint8_t>(transparencyValue & 0xFF));
    SetTransparent(transparent);
    SetClickThrough(transparent && clickThrough);
}

void WindowAppearance::SetTopMost(bool topMost) noexcept {
    topMost_ = topMost;
    ::SetWindowPos(window_, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowAppearance::SetAlpha(std::uint8_t alpha) noexcept {
    alpha_ = alpha;
    if (transparent_) ::SetLayeredWindowAttributes(window_, 0, alpha_, LWA_ALPHA);
}

void WindowAppearance::SetTransparent(bool transparent) noexcept {
    transparent_ = transparent;
    const bool changed = SetExStyleBit(WS_EX_LAYERED, transparent);
    if (transparent) {
        ::SetLayeredWindowAttributes(window_, 0, alpha_, LWA_ALPHA);
    } else if (changed) {
        ::RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void WindowAppearance::SetClickThrough(bool clickThrough) noexcept {
    SetExStyleBit(WS_EX_TRANSPARENT, clickThrough);
}

bool WindowAppearance::SetExStyleBit(DWORD bit, bool on) noexcept {
    const auto current = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE));
    const DWORD wanted = on ? (current | bit) : (current & ~bit);
    if (wanted == current) return false;
    ::SetWindowLongPtrW(window_, GWL_EXSTYLE, static_cast<LONG_PTR>(wanted));
    return true;
}

}  // namespace orvalet::win32
