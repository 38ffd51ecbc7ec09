#include "shell/meter/meter_dpi.h"

#include <gtest/gtest.h>

#include <climits>

namespace orvalet {
namespace {

TEST(MeterDpi, LengthsScaleToTheNearestPixelAndNonsenseIsIgnored) {
    EXPECT_EQ(PlacementMarginsAt(144).minimumOverlap, 17);  // 16.5
    EXPECT_EQ(PlacementMarginsAt(120).cornerInset, 40);
    EXPECT_EQ(ScaleToDpi(INT_MAX, 192), INT_MAX);
    EXPECT_EQ(ScaleToDpi(32, -96), 0);
    for (unsigned odd : {0u, 23u, 2401u}) EXPECT_EQ(ReportedDpi(odd, 120), 120) << odd;
    EXPECT_EQ(ReportedDpi(24, 96), 24);
    EXPECT_EQ(ReportedDpi(2400, 96), 2400);
    const WindowBounds current{100, 50, 336, 278};
    for (const ScreenRect& empty : {ScreenRect{10, 10, 10, 90}, ScreenRect{10, 10, 90, 10}})
        EXPECT_EQ(BoundsForDpiChange(current, &empty), current);
    const ScreenRect huge{INT_MIN, 0, INT_MAX, 1};
    EXPECT_EQ(BoundsForDpiChange(current, &huge), (WindowBounds{INT_MIN, 0, INT_MAX, 1}));
}

}  // namespace
}  // namespace orvalet
