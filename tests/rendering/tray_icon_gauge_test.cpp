#include "rendering/tray_icon_gauge.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "sampling/traffic_buffer.h"

namespace orvalet {
namespace {

constexpr int kDownColumns[] = {1, 2, 3, 4, 5, 6};
constexpr int kUpColumns[] = {9, 10, 11, 12, 13, 14};
constexpr int kGreyColumns[] = {0, 7, 8, 15};

Color Grey(int level) { return static_cast<Color>(level * 0x010101); }
Color Green(int green) { return static_cast<Color>(green << 8); }

// The green ramp of a bar of n segments: each spans the bar's own length.
const std::map<int, std::vector<int>> kGreens = {
    {0, {}},
    {1, {64}},
    {2, {64, 160}},
    {3, {64, 128, 191}},
    {4, {64, 112, 160, 207}},
    {8, {64, 88, 112, 136, 160, 183, 207, 231}},
    {16, {64, 76, 88, 100, 112, 124, 136, 148, 160, 171, 183, 195, 207, 219, 231, 243}},
};

// A track of n green segments followed by the rest of the empty track: black
// at the bar's edge toward dark red, 8 per row.
std::vector<Color> Bar(int n) {
    std::vector<Color> rows;
    for (int i = 0; i < kGaugeSize; ++i) rows.push_back(static_cast<Color>(8 * i));
    for (int i = 0; i < n; ++i) rows[static_cast<std::size_t>(i)] = Green(kGreens.at(n)[static_cast<std::size_t>(i)]);
    return rows;
}

// The colour of every track row, counted from where the bar starts, checking
// that the six columns agree.
std::vector<Color> Track(const Bitmap& b, const int (&columns)[6], bool fromBottom) {
    std::vector<Color> rows;
    for (int i = 0; i < kGaugeSize; ++i) {
        const int y = fromBottom ? kGaugeSize - 1 - i : i;
        for (int x : columns) EXPECT_EQ(b.Pixel(x, y), b.Pixel(columns[0], y)) << x << "," << y;
        rows.push_back(b.Pixel(columns[0], y));
    }
    return rows;
}
std::vector<Color> DownloadTrack(const Bitmap& b) { return Track(b, kDownColumns, false); }
std::vector<Color> UploadTrack(const Bitmap& b) { return Track(b, kUpColumns, true); }

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

    void ExpectGreyColumnsAsInTheBackground(const Bitmap& b) const {
        for (int y = 0; y < kGaugeSize; ++y)
            for (int x : kGreyColumns) EXPECT_EQ(b.Pixel(x, y), gauge.BackgroundBitmap().Pixel(x, y)) << x << "," << y;
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
    EXPECT_EQ(DownloadTrack(b), Bar(0));
    EXPECT_EQ(UploadTrack(b), Bar(0));
}

TEST_F(TrayIconGaugeTest, BarsShowTheirShareOfTheMaximumRoundedHalfToEven) {
    struct Case {
        std::uint64_t down, up, max;
        int downSegments, upSegments;
    };
    const Case cases[] = {
        {1, 1, 16, 1, 1}, {2, 2, 16, 2, 2}, {3, 3, 16, 3, 3}, {4, 4, 16, 4, 4}, {8, 8, 16, 8, 8},
        {16, 16, 16, 16, 16},
        {1, 0, 16, 1, 0},         // each render replaces the last picture
        {1000, 250, 1000, 16, 4},  // the bars are independent
        {1, 0, 32, 0, 0}, {3, 0, 32, 2, 0}, {5, 0, 32, 2, 0}, {7, 0, 32, 4, 0},  // 0.5, 1.5, 2.5, 3.5
        {100, 101, 100, 16, 16}, {UINT64_MAX, 0, 1, 16, 0},                      // above the maximum
        {5, 5, 0, 0, 0},                                                         // no scale
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.down << " down, " << c.up << " up of " << c.max);
        const Bitmap& b = Show(c.down, c.up, c.max);
        EXPECT_EQ(DownloadTrack(b), Bar(c.downSegments));
        EXPECT_EQ(UploadTrack(b), Bar(c.upSegments));
        ExpectGreyColumnsAsInTheBackground(b);
    }
}

TEST_F(TrayIconGaugeTest, AutoScaleTakesTheMaximumOfTheWholeHistory) {
    buffer.Add(0, 400);
    for (int i = 0; i < 1000; ++i) buffer.Add(0, 0);
    buffer.Add(100, 200);  // newest: 100 up, 200 down
    gauge.SetMaxValue(5);
    const Bitmap& b = gauge.Render();
    EXPECT_EQ(gauge.MaxValue(), 400u);
    EXPECT_EQ(DownloadTrack(b), Bar(8));
    EXPECT_EQ(UploadTrack(b), Bar(4));
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

TEST_F(TrayIconGaugeTest, AveragesReplaceTheNewestValuesWhenAsked) {
    for (int i = 0; i < 9; ++i) buffer.Add(0, 0);
    gauge.SetUseAverageValues(true);
    const Bitmap& b = Show(160, 80, 16);  // averages over 10: down 16, up 8
    EXPECT_EQ(DownloadTrack(b), Bar(16));
    EXPECT_EQ(UploadTrack(b), Bar(8));
}

// A gauge that redraws only changed pictures shows, after every tick, what a
// fresh gauge draws, and says it changed exactly when a pixel did.
TEST_F(TrayIconGaugeTest, ReportsAChangeExactlyWhenAPixelChangesAndStaysEqualToAFreshRender) {
    const std::uint64_t script[][2] = {{0, 0}, {0, 0}, {5, 9}, {5, 9}, {6, 9}, {0, 0}, {0, 0}, {90, 1}, {0, 0}};
    Bitmap previous;
    previous.SetSize(kGaugeSize, kGaugeSize);
    int changes = 0;
    for (std::size_t tick = 0; tick < std::size(script); ++tick) {
        buffer.Add(script[tick][0], script[tick][1]);
        TTrayIconGauge fresh;
        fresh.SetTrafficBuffer(&buffer);
        const Bitmap& shown = gauge.Render();
        const Bitmap& expected = fresh.Render();
        bool differs = tick == 0;
        for (int y = 0; y < kGaugeSize; ++y)
            for (int x = 0; x < kGaugeSize; ++x) {
                ASSERT_EQ(shown.Pixel(x, y), expected.Pixel(x, y)) << "tick " << tick << " at " << x << "," << y;
                differs = differs || shown.Pixel(x, y) != previous.Pixel(x, y);
            }
        EXPECT_EQ(gauge.PictureChanged(), differs) << "tick " << tick;
        changes += differs;
        previous.CopyFrom(shown);
    }
    EXPECT_EQ(changes, 6);  // the first, 5|9, 6|9, empty, 90|1, empty again
}

TEST(TrayIconGauge, WithoutAHistoryTheGaugeStaysEmpty) {
    TTrayIconGauge lone;
    lone.SetAutoScale(false);
    lone.SetMaxValue(10);
    EXPECT_EQ(DownloadTrack(lone.Render()), Bar(0));
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
    EXPECT_EQ(std::vector<Color>(table.begin(), table.begin() + 4),
              (std::vector<Color>{0xFFFFFFu, 0xBFBFBFu, 0x7F7F7Fu, 0x404040u}));
    FillGradientTable(table, 0x000000, 0xFFFFFF, 0);
    EXPECT_EQ(table[0], 0xFFFFFFu);
}

}  // namespace
}  // namespace orvalet
