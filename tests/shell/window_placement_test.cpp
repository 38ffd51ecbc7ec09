#include "shell/window_placement.h"

#include <gtest/gtest.h>

namespace orvalet {
namespace {

// Two monitors side by side; the primary one is the second in the list, on
// the right, with a taskbar of 40 pixels at its bottom.
DesktopGeometry TwoMonitors() {
    DesktopGeometry desktop;
    desktop.virtualDesktop = {-1920, 0, 1280, 1080};
    desktop.monitors.push_back({{-1920, 0, 0, 1080}, false});
    desktop.monitors.push_back({{0, 0, 1280, 984}, true});
    return desktop;
}

const WindowBounds kPrimaryCorner{1280 - 320 - 32, 984 - 240 - 32, 320, 240};

TEST(FitWindowToDesktop, AWindowWithElevenPixelsOnTheDesktopStays) {
    const DesktopGeometry desktop = TwoMonitors();
    for (const WindowBounds window : {WindowBounds{1280 - 11, 100, 320, 240},   // right edge
                                      WindowBounds{-1920 - 320 + 11, 100, 320, 240},  // left edge
                                      WindowBounds{100, 1080 - 11, 320, 240},   // bottom edge
                                      WindowBounds{100, -240 + 11, 320, 240},   // top edge
                                      WindowBounds{-800, 500, 320, 240}}) {     // on the other monitor
        EXPECT_EQ(FitWindowToDesktop(window, desktop), window) << window.left << "," << window.top;
    }
}

TEST(FitWindowToDesktop, AWindowWithTenPixelsOnTheDesktopMovesToThePrimaryWorkAreaCorner) {
    const DesktopGeometry desktop = TwoMonitors();
    for (const WindowBounds window : {WindowBounds{1280 - 10, 100, 320, 240},
                                      WindowBounds{-1920 - 320 + 10, 100, 320, 240},
                                      WindowBounds{100, 1080 - 10, 320, 240},
                                      WindowBounds{100, -240 + 10, 320, 240}}) {
        EXPECT_EQ(FitWindowToDesktop(window, desktop), kPrimaryCorner) << window.left << "," << window.top;
    }
}

TEST(FitWindowToDesktop, AnUnplacedEdgeAlwaysMovesTheWindow) {
    const DesktopGeometry desktop = TwoMonitors();
    EXPECT_EQ(FitWindowToDesktop({kUnplacedPosition, 100, 320, 240}, desktop), kPrimaryCorner);
    EXPECT_EQ(FitWindowToDesktop({100, kUnplacedPosition, 320, 240}, desktop), kPrimaryCorner);
}

TEST(FitWindowToDesktop, ExtremeEdgesDoNotWrapAroundIntoView) {
    const DesktopGeometry desktop = TwoMonitors();
    EXPECT_EQ(FitWindowToDesktop({2147483647, 100, 320, 240}, desktop), kPrimaryCorner);
    EXPECT_EQ(FitWindowToDesktop({-2147483647, 100, 320, 240}, desktop), kPrimaryCorner);
    // An enormous width reaching far to the left: its right part is on the
    // desktop, and the test must not overflow on the way to that answer.
    const WindowBounds wide{-2147483000, 100, 2147483647, 240};
    EXPECT_EQ(FitWindowToDesktop(wide, desktop), wide);
}

TEST(FitWindowToDesktop, MarginsFollowTheCaller) {
    const DesktopGeometry desktop = TwoMonitors();
    const PlacementMargins doubled{22, 64};
    EXPECT_EQ(FitWindowToDesktop({1280 - 22, 100, 320, 240}, desktop, doubled).left, 1280 - 22);
    EXPECT_EQ(FitWindowToDesktop({1280 - 21, 100, 320, 240}, desktop, doubled),
              (WindowBounds{1280 - 320 - 64, 984 - 240 - 64, 320, 240}));
}

TEST(PrimaryWorkArea, TakesTheFirstPrimaryMonitorAndHasFallbacks) {
    DesktopGeometry desktop = TwoMonitors();
    desktop.monitors.push_back({{1280, 0, 2560, 1024}, true});
    EXPECT_EQ(PrimaryWorkArea(desktop), (ScreenRect{0, 0, 1280, 984}));

    desktop.monitors[1].primary = desktop.monitors[2].primary = false;
    EXPECT_EQ(PrimaryWorkArea(desktop), (ScreenRect{-1920, 0, 0, 1080}));

    desktop.monitors.clear();
    EXPECT_EQ(PrimaryWorkArea(desktop), desktop.virtualDesktop);
}

TEST(SizeLimits, MaximumWidthIsTheGraphsPlusTheFrame) {
    EXPECT_EQ(ComputeSizeLimits(32, 1800, 336, 320), (SizeLimits{32, 32, 1816}));
    // A graph narrower than the minimum cannot push the maximum below it.
    EXPECT_EQ(ComputeSizeLimits(32, 0, 16, 20), (SizeLimits{32, 32, 32}));
}

TEST(SizeLimits, ClampingBringsTheSizeWithinTheLimitsAndKeepsThePosition) {
    const SizeLimits limits{32, 32, 1816};
    EXPECT_EQ(ClampToSizeLimits({5, 6, 10, 10}, limits), (WindowBounds{5, 6, 32, 32}));
    EXPECT_EQ(ClampToSizeLimits({5, 6, 4000, 4000}, limits), (WindowBounds{5, 6, 1816, 4000}));
    EXPECT_EQ(ClampToSizeLimits({5, 6, 320, 240}, limits), (WindowBounds{5, 6, 320, 240}));
}

}  // namespace
}  // namespace orvalet
