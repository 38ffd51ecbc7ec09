#include "rendering/tray_icon_gauge.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "sampling/traffic_buffer.h"

namespace orvalet {
namespace {

using ::testing::ElementsAreArray;

constexpr int kDownColumns[] = {1, 2, 3, 4, 5, 6};
constexpr int kUpColumns[] = {9, 10, 11, 12, 13, 14};
constexpr int kGreyColumns[] = {0, 7, 8, 15};

Color Grey(int level) { return static_cast<Color>(level * 0x010101); }
Color Red(int red) { return static_cast<Color>(red); }
Color Green(int green) { return static_cast<Color>(green << 8); }

class TrayIconGaugeTest : public ::testing::Test {
protected:
    TrayIconGaugeTest() { gauge.SetTrafficBuffer(&buffer); }

    // Sets the newest sample and a fixed scale, and renders.
    const Bitmap& Show(std::uint64_t down, std::uint64_t up, std::uint64_t max) {
        buffer.Add(up, down);
        gauge.SetAutoScale(false);
        gauge.SetMaxValue(max);
        return gauge.Render();
    }

    // The colour of every track row, checking that the six columns agree.
    std::vector<Color> DownloadTrack(const Bitmap& b) const { return Track(b, kDownColumns, false); }
    // Upload rows counted from the bottom edge, like its segments.
    std::vector<Color> UploadTrack(const Bitmap& b) const { return Track(b, kUpColumns, true); }

    static std::vector<Color> Track(const Bitmap& b, const int (&columns)[6], bool fromBottom) {
        std::vector<Color> rows;
        for (int i = 0; i < kGaugeSize; ++i) {
            const int y = fromBottom ? kGaugeSize - 1 - i : i;
            for (int x : columns) EXPECT_EQ(b.Pixel(x, y), b.Pixel(columns[0], y)) << x << "," << y;
            rows.push_back(b.Pixel(columns[0], y));
        }
        return rows;
    }

    // The empty track: black at the bar's edge toward dark red, 8 per row.
    static std::vector<Color> EmptyTrack() {
        std::vector<Color> rows;
        for (int i = 0; i < kGaugeSize; ++i) rows.push_back(Red(8 * i));
        return rows;
    }

    // A bar of `greens` followed by the rest of the empty track.
    static std::vector<Color> Bar(const std::vector<int>& greens) {
        std::vector<Color> rows = EmptyTrack();
        for (std::size_t i = 0; i < greens.size(); ++i) rows[i] = Green(greens[i]);
        return rows;
    }

    TTrafficBuffer buffer;
    TTrayIconGauge gauge;
};

TEST_F(TrayIconGaugeTest, EmptyGaugeHasGreyRowsAndDarkRedTracks) {
    const Bitmap& b = gauge.BackgroundBitmap();
    const int greys[] = {0x00, 0x20, 0x40, 0x60, 0x80, 0x9F, 0xBF, 0xDF};
    for (int i = 0; i < 8; ++i) {
        for (int x : kGreyColumns) {
            EXPECT_EQ(b.Pixel(x, i), Grey(greys[i])) << x << "," << i;
            EXPECT_EQ(b.Pixel(x, 15 - i), Grey(greys[i])) << x << "," << 15 - i;
        }
    }
    EXPECT_EQ(DownloadTrack(b), EmptyTrack());
    EXPECT_EQ(UploadTrack(b), EmptyTrack());
    EXPECT_EQ(Red(120), UploadTrack(b)[15]);
}

TEST_F(TrayIconGaugeTest, GreenRampsSpanEachBarsOwnLength) {
    struct Case {
        int segments;
        std::vector<int> greens;
    };
    const Case cases[] = {
        {1, {64}},
        {2, {64, 160}},
        {3, {64, 128, 191}},
        {4, {64, 112, 160, 207}},
        {8, {64, 88, 112, 136, 160, 183, 207, 231}},
        {16, {64, 76, 88, 100, 112, 124, 136, 148, 160, 171, 183, 195, 207, 219, 231, 243}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.segments);
        const Bitmap& b = Show(static_cast<std::uint64_t>(c.segments), static_cast<std::uint64_t>(c.segments), 16);
        EXPECT_EQ(DownloadTrack(b), Bar(c.greens));
        EXPECT_EQ(UploadTrack(b), Bar(c.greens));
    }
}

TEST_F(TrayIconGaugeTest, BarsAreIndependentAndLeaveTheGreyColumnsAlone) {
    const Bitmap& b = Show(1000, 250, 1000);  // 16 down, 4 up
    EXPECT_EQ(DownloadTrack(b)[15], Green(243));
    EXPECT_EQ(UploadTrack(b), Bar({64, 112, 160, 207}));
    for (int y = 0; y < kGaugeSize; ++y)
        for (int x : kGreyColumns) EXPECT_EQ(b.Pixel(x, y), gauge.BackgroundBitmap().Pixel(x, y));
}

TEST_F(TrayIconGaugeTest, SegmentCountsRoundHalfToEven) {
    EXPECT_EQ(GaugeSegments(1, 32), 0);   // 0.5
    EXPECT_EQ(GaugeSegments(3, 32), 2);   // 1.5
    EXPECT_EQ(GaugeSegments(5, 32), 2);   // 2.5
    EXPECT_EQ(GaugeSegments(7, 32), 4);   // 3.5
    EXPECT_EQ(GaugeSegments(0, 32), 0);
    EXPECT_EQ(GaugeSegments(5, 0), 0);

    EXPECT_EQ(DownloadTrack(Show(1, 0, 32)), EmptyTrack());
    EXPECT_EQ(DownloadTrack(Show(3, 0, 32)), Bar({64, 160}));
    EXPECT_EQ(DownloadTrack(Show(5, 0, 32)), Bar({64, 160}));
}

TEST_F(TrayIconGaugeTest, ValuesAboveTheMaximumFillTheBar) {
    const std::vector<Color> full = Bar({64, 76, 88, 100, 112, 124, 136, 148, 160, 171, 183, 195, 207, 219, 231, 243});
    EXPECT_EQ(DownloadTrack(Show(100, 101, 100)), full);
    EXPECT_EQ(UploadTrack(gauge.RenderBitmap()), full);
    EXPECT_EQ(DownloadTrack(Show(UINT64_MAX, 0, 1)), full);
    EXPECT_EQ(UploadTrack(gauge.RenderBitmap()), EmptyTrack());
}

TEST_F(TrayIconGaugeTest, AutoScaleTakesTheMaximumOfTheWholeHistory) {
    buffer.Add(0, 400);
    for (int i = 0; i < 1000; ++i) buffer.Add(0, 0);
    buffer.Add(100, 200);  // newest: 100 up, 200 down
    gauge.SetMaxValue(5);
    const Bitmap& b = gauge.Render();
    EXPECT_EQ(gauge.MaxValue(), 400u);
    EXPECT_EQ(DownloadTrack(b), Bar({64, 88, 112, 136, 160, 183, 207, 231}));
    EXPECT_EQ(UploadTrack(b), Bar({64, 112, 160, 207}));
}

TEST_F(TrayIconGaugeTest, AnAllZeroHistoryShowsTheEmptyGauge) {
    Show(10, 10, 10);
    gauge.SetAutoScale(true);
    buffer.Clear();
    const Bitmap& b = gauge.Render();
    EXPECT_EQ(gauge.MaxValue(), 0u);
    for (int y = 0; y < kGaugeSize; ++y)
        for (int x = 0; x < kGaugeSize; ++x) ASSERT_EQ(b.Pixel(x, y), gauge.BackgroundBitmap().Pixel(x, y));
}

TEST_F(TrayIconGaugeTest, EachRenderReplacesTheLastPicture) {
    Show(16, 16, 16);
    const Bitmap& b = Show(1, 0, 16);
    EXPECT_EQ(DownloadTrack(b), Bar({64}));
    EXPECT_EQ(UploadTrack(b), EmptyTrack());
}

TEST_F(TrayIconGaugeTest, AveragesReplaceTheNewestValuesWhenAsked) {
    for (int i = 0; i < 9; ++i) buffer.Add(0, 0);
    gauge.SetUseAverageValues(true);
    const Bitmap& b = Show(160, 80, 16);  // averages over 10: down 16, up 8
    EXPECT_EQ(DownloadTrack(b)[15], Green(243));
    EXPECT_EQ(UploadTrack(b), Bar({64, 88, 112, 136, 160, 183, 207, 231}));
}

TEST_F(TrayIconGaugeTest, WithoutAHistoryTheGaugeStaysEmpty) {
    TTrayIconGauge lone;
    lone.SetAutoScale(false);
    lone.SetMaxValue(10);
    const Bitmap& b = lone.Render();
    EXPECT_EQ(b.Pixel(3, 0), Red(0));
    EXPECT_EQ(b.Pixel(3, 15), Red(120));
}

TEST(GaugeGradient, RampStopsShortOfTheEndAndLeavesLaterEntries) {
    std::array<Color, kGaugeSegments> table;
    table.fill(0x00ABCDEF);
    FillGradientTable(table, 0x000000, 0xFFFFFF, 8);
    EXPECT_EQ(table[0], 0u);
    EXPECT_EQ(table[5], 0x9F9F9Fu);  // R(31.875 * 5) = R(159.375) = 159
    EXPECT_EQ(table[7], 0xDFDFDFu);
    EXPECT_EQ(table[8], 0x00ABCDEFu);

    FillGradientTable(table, 0xFFFFFF, 0x000000, 4);  // falling channels
    EXPECT_THAT(std::vector<Color>(table.begin(), table.begin() + 4),
                ElementsAreArray({0xFFFFFFu, 0xBFBFBFu, 0x7F7F7Fu, 0x404040u}));

    FillGradientTable(table, 0x000000, 0xFFFFFF, 0);
    EXPECT_EQ(table[0], 0xFFFFFFu);
}

}  // namespace
}  // namespace orvalet
