#include "base/win32/dialog_layout_win.h"

#include <algorithm>
#include <cwchar>

#include "base/win32/dpi_win.h"

namespace orvalet::win32 {

RECT ScaledBounds(const DesignBounds& design, UINT dpi) {
    const int left = Scale(design.left, dpi);
    const int top = Scale(design.top, dpi);
    return {left, top, left + Scale(design.width, dpi), top + Scale(design.height, dpi)};
}

HWND CreateChildControl(HWND parent, int id, const ControlClass& controlClass, const wchar_t* text,
                        const RECT& bounds, HFONT font) {
    const HWND control = ::CreateWindowExW(controlClass.exStyle, controlClass.name, text ? text : L"",
                                           WS_CHILD | WS_VISIBLE | controlClass.style, bounds.left, bounds.top,
                                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

UniqueFont CreateScaledFont(const wchar_t* face, int height, UINT dpi, int weight, bool underline) {
    LOGFONTW font{};
    font.lfHeight = -Scale(height, dpi);
    font.lfWeight = weight;
    font.lfUnderline = underline;
    font.lfCharSet = DEFAULT_CHARSET;
    ::wcsncpy_s(font.lfFaceName, face, _TRUNCATE);
    return UniqueFont(::CreateFontIndirectW(&font));
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

int TextWidth(HWND window) {
    const std::wstring text = WindowText(window);
    const WindowDC dc(window);
    if (!dc) return 0;
    const SelectionGuard selected =
        Select(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

void SetClientSize(HWND window, int width, int height) {
    RECT frame{}, client{};
    ::GetWindowRect(window, &frame);
    ::GetClientRect(window, &client);
    ::SetWindowPos(window, nullptr, 0, 0, width + (frame.right - frame.left) - client.right,
                   height + (frame.bottom - frame.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CenterOnMonitorOf(HWND window, HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    const RECT& screen = monitor.rcMonitor;
    const int left = screen.left + (screen.right - screen.left - (bounds.right - bounds.left)) / 2;
    const int top = screen.top + (screen.bottom - screen.top - (bounds.bottom - bounds.top)) / 2;
    // A window larger than the monitor keeps its caption on it.
    ::SetWindowPos(window, nullptr, std::max(left, static_cast<int>(monitor.rcWork.left)),
                   std::max(top, static_cast<int>(monitor.rcWork.top)), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace orvalet::win32
