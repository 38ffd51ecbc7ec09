#include "settings/win32/color_preview_win.h"

#include <utility>

#include "base/win32/unique_handle.h"

namespace orvalet::win32 {

namespace {

bool IsOpenKey(UINT message, WPARAM key) {
    if (message == WM_KEYDOWN) return key == VK_RETURN || key == VK_SPACE;
    return message == WM_CHAR && (key == L'\r' || key == L' ');
}

constexpr LPARAM kKeyWasDown = 1 << 30;  // of a key message: a repeated press

}  // namespace

std::optional<LRESULT> OpenOnKey(UINT message, WPARAM wParam, LPARAM lParam, const std::function<void()>& open) {
    if (message == WM_GETDLGCODE) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && IsOpenKey(key->message, key->wParam)) return DLGC_WANTMESSAGE;
        return std::nullopt;
    }
    if (!IsOpenKey(message, wParam)) return std::nullopt;
    if (message == WM_KEYDOWN && (lParam & kKeyWasDown) == 0 && open) open();
    return 0;
}

void ColorsPanelWindow::CustomizeClass(WNDCLASSEXW& windowClass) {
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

bool ColorsPanelWindow::Create(HWND parent, int id, const RECT& bounds) {
    return CreateWindowHandle(WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                              bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT ColorsPanelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            const PaintScope paint(Handle());
            ColorsPanelPaint(paint.dc());
            return 0;
        }
        case WM_UPDATEUISTATE: {  // the focus ring may come or go
            const LRESULT result = DefaultHandling(message, wParam, lParam);
            ::InvalidateRect(Handle(), nullptr, TRUE);
            return result;
        }
        default: return DefaultHandling(message, wParam, lParam);
    }
}

// The focus ring of the paint box lies between the bevel and the paint box:
// drawn over the colour, the inverted dots would vanish on a middle grey.
void ColorsPanelWindow::ColorsPanelPaint(HDC dc) const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    const HWND focus = ::GetFocus();
    const bool cuesHidden = (::SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    if (!focus || ::GetParent(focus) != Handle() || cuesHidden) return;
    ::InflateRect(&client, -1, -1);
    ::DrawFocusRect(dc, &client);
}

// Its text is its name for the accessibility proxy.
bool ColorPaintBoxWindow::Create(HWND parent, int id, std::function<void()> onClick) {
    onClick_ = std::move(onClick);
    return CreateWindowHandle(0, L"Selected color", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, 0, 0, 0,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void ColorPaintBoxWindow::SetColor(std::int32_t color) {
    color_ = color;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT ColorPaintBoxWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> keyResult = OpenOnKey(message, wParam, lParam, onClick_)) return *keyResult;
    switch (message) {
        case WM_PAINT: {
            const PaintScope paint(Handle());
            ColorsPaintBoxPaint(paint.dc());
            return 0;
        }
        case WM_PRINTCLIENT: ColorsPaintBoxPaint(reinterpret_cast<HDC>(wParam)); return 0;
        case WM_ERASEBKGND: return 1;  // the paint covers the whole client area
        case WM_SETFOCUS:
        case WM_KILLFOCUS: ::InvalidateRect(::GetParent(Handle()), nullptr, TRUE); return 0;
        case WM_LBUTTONDOWN:
            pressed_ = true;
            ::SetFocus(Handle());
            ::SetCapture(Handle());
            return 0;
        case WM_LBUTTONUP: return ReleaseClick(lParam);
        case WM_CAPTURECHANGED: pressed_ = false; return 0;
        default: return DefaultHandling(message, wParam, lParam);
    }
}

void ColorPaintBoxWindow::ColorsPaintBoxPaint(HDC dc) const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const UniqueBrush brush(::CreateSolidBrush(static_cast<COLORREF>(color_)));
    ::FillRect(dc, &client, brush.get());
}

LRESULT ColorPaintBoxWindow::ReleaseClick(LPARAM lParam) {
    const bool wasPressed = std::exchange(pressed_, false);
    if (::GetCapture() == Handle()) ::ReleaseCapture();
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (wasPressed && ::PtInRect(&client, at) && onClick_) onClick_();
    return 0;
}

}  // namespace orvalet::win32
