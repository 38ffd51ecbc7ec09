#pragma once
// The meter window's look: its border style, top-most state, layered-window
// opacity and click-through.
#include <windows.h>

#include <cstdint>

namespace orvalet::win32 {

enum class BorderStyle {
    SizeableToolWindow,  // small caption and sizing frame
    FixedToolWindow,     // small caption, no sizing frame
    None,                // neither caption nor frame
};

// The window styles of each border style. Every style keeps the tool-window
// extended style, so the meter never gets a taskbar button.
DWORD BorderStyleBits(BorderStyle style) noexcept;
inline constexpr DWORD kBorderStyleMask = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_POPUP;
inline constexpr DWORD kToolWindowExStyle = WS_EX_TOOLWINDOW;

// The height of a caption at the window's DPI.
int CaptionHeight(HWND window) noexcept;

class WindowAppearance {
public:
    // The window starts as a sizeable tool window, opaque and not top-most.
    void Attach(HWND window) noexcept { window_ = window; }

    // The window style option: 0 with caption, 1 without caption (thin
    // border and sizing frame), 2 borderless; other values change nothing.
    void ApplyWindowStyle(std::int32_t windowStyle) noexcept;
    // Recomputes the style bits when the border style changes; setting the
    // style in force does nothing.
    void SetBorderStyle(BorderStyle style) noexcept;

    // Top-most, then the opacity (the low 8 bits of the value) and
    // transparency, then click-through, which is never on without
    // transparency.
    void ApplyEffects(bool topMost, bool transparent, std::int32_t transparencyValue, bool clickThrough) noexcept;

    bool TopMost() const noexcept { return topMost_; }
    void SetTopMost(bool topMost) noexcept;

    // The opacity survives while transparency is off and is used again when
    // it comes back on.
    std::uint8_t Alpha() const noexcept { return alpha_; }
    void SetAlpha(std::uint8_t alpha) noexcept;
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool transparent) noexcept;

    // Lets every mouse event pass to the window below; only in effect
    // together with transparency.
    void SetClickThrough(bool clickThrough) noexcept;

private:
    void RemoveCaptionKeepingBorder() noexcept;
    // Whether the bit changed.
    bool SetExStyleBit(DWORD bit, bool on) noexcept;
    void ResizeHeightBy(int delta) noexcept;

    HWND window_ = nullptr;
    BorderStyle borderStyle_ = BorderStyle::SizeableToolWindow;
    bool topMost_ = false;
    std::uint8_t alpha_ = 255;
    bool transparent_ = false;
};

}  // namespace orvalet::win32
