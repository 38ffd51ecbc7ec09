#include "shell/meter_dpi.h"

#include <gtest/gtest.h>

#include <climits>

namespace orvalet {
namespace {

TEST(MeterDpi, LengthsAndMarginsGrowWithTheDpiToTheNearestPixel) {
    EXPECT_EQ(ScaleToDpi(32, 96), 32);
    EXPECT_EQ(ScaleToDpi(32, 144), 48);
    EXPECT_EQ(ScaleToDpi(11, 120), 14);  // 13.75
    EXPECT_EQ(ScaleToDpi(11, 144), 17);  // 16.5 rounds up
    EXPECT_EQ(ScaleToDpi(11, 0), 0);
    EXPECT_EQ(ScaleToDpi(INT_MAX, 192), INT_MAX);
    const PlacementMargins at192 = PlacementMarginsAt(192);
    EXPECT_EQ(at192.minimumOverlap, 22);
    EXPECT_EQ(at192.cornerInset, 64);
}

TEST(MeterDpi, ANonsensicalReportKeepsTheCurrentDpi) {
    EXPECT_EQ(ReportedDpi(144, 96), 144);
    EXPECT_EQ(ReportedDpi(24, 96), 24);
    EXPECT_EQ(ReportedDpi(2400, 96), 2400);
    EXPECT_EQ(ReportedDpi(0, 120), 120);
    EXPECT_EQ(ReportedDpi(23, 120), 120);
    EXPECT_EQ(ReportedDpi(2401, 120), 120);
}

TEST(MeterDpi, TheWindowTakesTheSuggestedRectangleOrScalesItsOwnSize) {
    const WindowBounds current{100, 50, 336, 278};
    const ScreenRect suggested{-500, 40, -20, 400};
    EXPECT_EQ(BoundsForDpiChange(current, &suggested, 96, 144), (WindowBounds{-500, 40, 480, 360}));
    const ScreenRect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_EQ(BoundsForDpiChange(current, &huge, 96, 144), (WindowBounds{INT_MIN, INT_MIN, INT_MAX, INT_MAX}));
    for (const ScreenRect& empty : {ScreenRect{10, 10, 10, 90}, ScreenRect{10, 10, 90, 10}, ScreenRect{9, 9, 1, 1}}) {
        EXPECT_EQ(BoundsForDpiChange(current, &empty, 96, 144), (WindowBounds{100, 50, 504, 417}));
    }
    EXPECT_EQ(BoundsForDpiChange(current, nullptr, 144, 96), (WindowBounds{100, 50, 224, 185}));  // 185.33
    EXPECT_EQ(BoundsForDpiChange(current, nullptr, 0, 96), current);
}

}  // namespace
}  // namespace orvalet
