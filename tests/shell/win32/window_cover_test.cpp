#include "shell/meter/win32/window_cover_win.h"

#include <gtest/gtest.h>

#include "base/win32/unique_handle.h"

namespace orvalet::win32 {
namespace {

UniqueWindow MakeWindow(DWORD exStyle, const wchar_t* title) {
    return UniqueWindow(::CreateWindowExW(exStyle | WS_EX_TOOLWINDOW, L"STATIC", title, WS_POPUP | WS_BORDER, 0, 0,
                                          100, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

void Place(HWND window, HWND after, int x, int y, UINT flags = 0) {
    ::SetWindowPos(window, after, x, y, 100, 100, SWP_NOACTIVATE | flags);
}

TEST(WindowCover, VisibleWindowsAboveCountAndHiddenBelowOrCloakedOnesDoNot) {
    const UniqueWindow meter = MakeWindow(0, L"meter");
    const UniqueWindow other = MakeWindow(0, L"other");
    const UniqueWindow hidden = MakeWindow(0, L"hidden");
    const UniqueWindow topMost = MakeWindow(WS_EX_TOPMOST, L"top-most");
    ASSERT_TRUE(meter && other && hidden && topMost);

    constexpr int x = 600, y = 420, away = 900;
    Place(meter.get(), HWND_BOTTOM, x, y);
    Place(hidden.get(), HWND_TOP, x + 10, y + 10);
    Place(other.get(), HWND_TOP, away, y, SWP_SHOWWINDOW);
    Place(topMost.get(), HWND_TOPMOST, away, y - 200, SWP_SHOWWINDOW);
    EXPECT_FALSE(IsWindowCovered(meter.get())) << "only a hidden window overlaps";

    Place(other.get(), HWND_TOP, x + 50, y + 50);
    EXPECT_TRUE(IsWindowCovered(meter.get()));
    EXPECT_FALSE(IsWindowCovered(meter.get(), [&](HWND w) { return w == other.get(); }))
        << "a cloaked window is not seen";
    EXPECT_FALSE(IsWindowCovered(other.get())) << "the meter lies below";

    Place(other.get(), meter.get(), x + 50, y + 50);  // just below the meter
    EXPECT_FALSE(IsWindowCovered(meter.get()));
    Place(topMost.get(), HWND_TOPMOST, x + 99, y + 99);  // a single pixel in common
    EXPECT_TRUE(IsWindowCovered(meter.get()));
}

}  // namespace
}  // namespace orvalet::win32
