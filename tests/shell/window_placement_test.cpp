#include "shell/meter/window_placement.h"

#include <gtest/gtest.h>

namespace orvalet {
namespace {

// Two monitors side by side; the primary one is the second in the list, on
// the right, lower than the first, with a taskbar of 40 pixels at its
// bottom. Below it lies a gap inside the desktop's bounding box.
DesktopGeometry TwoMonitors() {
    DesktopGeometry desktop;
    desktop.virtualDesktop = {-1920, 0, 1280, 1080};
    desktop.monitors.push_back({{-1920, 0, 0, 1080}, false, {-1920, 0, 0, 1080}});
    desktop.monitors.push_back({{0, 0, 1280, 984}, true, {0, 0, 1280, 1024}});
    return desktop;
}

TEST(FitWindowToDesktop, ElevenPixelsOnAMonitorStayAndLessMovesToThePrimaryWorkAreaCorner) {
    const WindowBounds corner{1280 - 320 - 32, 984 - 240 - 32, 320, 240};
    const struct {
        WindowBounds window;
        bool stays;
    } cases[] = {
        {{1280 - 11, 100, 320, 240}, true},          {{1280 - 10, 100, 320, 240}, false},  // right edge
        {{-1920 - 320 + 11, 100, 320, 240}, true},   {{-1920 - 320 + 10, 100, 320, 240}, false},  // left
        {{-800, 1080 - 11, 320, 240}, true},         {{-800, 1080 - 10, 320, 240}, false},  // bottom edge
        {{100, 1024 - 11, 320, 240}, true},          {{100, 1040, 320, 240}, false},  // the gap below the primary
        {{100, -240 + 11, 320, 240}, true},          {{100, -240 + 10, 320, 240}, false},  // top edge
        {{-800, 500, 320, 240}, true},               // on the other monitor
        {{kUnplacedPosition, 100, 320, 240}, false}, {{100, kUnplacedPosition, 320, 240}, false},
        // Extreme edges must not wrap around into view.
        {{2147483647, 100, 320, 240}, false},        {{-2147483647, 100, 320, 240}, false},
        // Its right part is on the desktop; the test must not overflow.
        {{-2147483000, 100, 2147483647, 240}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.window.left << "," << c.window.top);
        EXPECT_EQ(FitWindowToDesktop(c.window, TwoMonitors()), c.stays ? c.window : corner);
    }
    // When the work areas change, a window the taskbar now covers moves.
    const WindowBounds aboveTaskbar{100, 984 - 11, 320, 240}, underTaskbar{100, 1024 - 11, 320, 240};
    EXPECT_EQ(FitWindowToDesktop(aboveTaskbar, TwoMonitors(), {}, ReachArea::WorkArea), aboveTaskbar);
    EXPECT_EQ(FitWindowToDesktop(underTaskbar, TwoMonitors(), {}, ReachArea::WorkArea), corner);
    EXPECT_EQ(FitWindowToDesktop(underTaskbar, TwoMonitors()), underTaskbar);
}

TEST(FitWindowToDesktop, MarginsFollowTheCaller) {
    const PlacementMargins doubled{22, 64};
    EXPECT_EQ(FitWindowToDesktop({1280 - 22, 100, 320, 240}, TwoMonitors(), doubled).left, 1280 - 22);
    EXPECT_EQ(FitWindowToDesktop({1280 - 21, 100, 320, 240}, TwoMonitors(), doubled),
              (WindowBounds{1280 - 320 - 64, 984 - 240 - 64, 320, 240}));
}

TEST(PrimaryWorkArea, TakesTheFirstPrimaryMonitorAndHasFallbacks) {
    DesktopGeometry desktop = TwoMonitors();
    desktop.monitors.push_back({.workArea = {1280, 0, 2560, 1024}, .primary = true, .bounds = {}});
    EXPECT_EQ(PrimaryWorkArea(desktop), (ScreenRect{0, 0, 1280, 984}));

    desktop.monitors[1].primary = desktop.monitors[2].primary = false;
    EXPECT_EQ(PrimaryWorkArea(desktop), (ScreenRect{-1920, 0, 0, 1080}));

    desktop.monitors.clear();
    EXPECT_EQ(PrimaryWorkArea(desktop), desktop.virtualDesktop);
}

TEST(SizeLimits, MaximumWidthIsTheGraphsPlusTheFrameAndClampingKeepsThePosition) {
    EXPECT_EQ(ComputeSizeLimits(32, 1800, 336, 320), (SizeLimits{32, 32, 1816}));
    // A graph narrower than the minimum cannot push the maximum below it.
    EXPECT_EQ(ComputeSizeLimits(32, 10, 16, 20), (SizeLimits{32, 32, 32}));
    // A graph that never rendered sets no maximum, and nothing is squeezed.
    EXPECT_EQ(ComputeSizeLimits(32, 0, 336, 320), (SizeLimits{32, 32, 0}));
    EXPECT_EQ(ClampToSizeLimits({5, 6, 4000, 10}, SizeLimits{32, 32, 0}), (WindowBounds{5, 6, 4000, 32}));

    const SizeLimits limits{32, 32, 1816};
    EXPECT_EQ(ClampToSizeLimits({5, 6, 10, 10}, limits), (WindowBounds{5, 6, 32, 32}));
    EXPECT_EQ(ClampToSizeLimits({5, 6, 4000, 4000}, limits), (WindowBounds{5, 6, 1816, 4000}));
    EXPECT_EQ(ClampToSizeLimits({5, 6, 320, 240}, limits), (WindowBounds{5, 6, 320, 240}));
}

}  // namespace
}  // namespace orvalet
