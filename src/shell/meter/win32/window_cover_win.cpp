#include "shell/meter/win32/window_cover_win.h"

#include <dwmapi.h>

#include "base/win32/system_function_win.h"

namespace orvalet::win32 {
namespace {

// DWMWA_CLOAKED, known to the window manager from Windows 8 on; older
// systems reject the query.
constexpr DWORD kCloakedAttribute = 14;

}  // namespace

bool IsWindowCloaked(HWND window) noexcept {
    static const auto attribute =
        OnDemandSystemFunction<decltype(&::DwmGetWindowAttribute)>(L"dwmapi.dll", "DwmGetWindowAttribute");
    DWORD cloaked = 0;
    return attribute && SUCCEEDED(attribute(window, kCloakedAttribute, &cloaked, sizeof cloaked)) && cloaked != 0;
}

bool IsWindowCovered(HWND h) { return IsWindowCovered(h, &IsWindowCloaked); }

bool IsWindowCovered(HWND h, const std::function<bool(HWND)>& isCloaked) {
    RECT own{};
    ::GetWindowRect(h, &own);
    for (HWND w = ::GetWindow(h, GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV)) {
        if (!::IsWindowVisible(w) || isCloaked(w)) continue;
        RECT other{}, overlap{};
        ::GetWindowRect(w, &other);
        if (::IntersectRect(&overlap, &own, &other)) return true;
    }
    return false;
}

}  // namespace orvalet::win32
