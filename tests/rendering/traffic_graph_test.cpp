#include "rendering/traffic_graph.h"

#include <gtest/gtest.h>

#include <set>

#include "sampling/traffic_buffer.h"
#include "support/fixed_text_renderer.h"

namespace orvalet {
namespace {

constexpr Color kBackground = 0x00102030;
constexpr Color kGrid = 0x00808080;

// A graph without labels or grids on a plain background unless a test asks
// for them, so each test sees only the part it is about.
class TrafficGraphTest : public ::testing::Test {
protected:
    TrafficGraphTest() {
        graph_.SetTrafficBuffer(&buffer_);
        graph_.SetShowUDLabel(false);
        graph_.SetShowMVLabel(false);
        graph_.SetShowIFLabel(false);
        graph_.SetShowHorGrid(false);
        graph_.SetGraphVertGrid(0);
        graph_.SetUseGradient(false);
        GR_ColorType colors = GR_DefaultColors;
        colors.GR_BkGr1 = static_cast<std::int32_t>(kBackground);
        graph_.SetColors(colors);
    }

    void FixScale(std::uint64_t maxValue) {
        graph_.SetAutoscale(false);
        graph_.SetMaxValue(maxValue);
    }

    // Puts a sample at a position of the history, all others 0.
    void SetOnly(int index, std::uint64_t up, std::uint64_t down) {
        buffer_.Clear();
        const int n = buffer_.BufferLen();
        for (int i = 0; i < n; ++i) buffer_.Add(i == index ? up : 0, i == index ? down : 0);
    }

    Color Pixel(int x, int y) const { return graph_.RenderBitmap().Pixel(x, y); }

    // Height of the bar in a column: rows from the bottom that are not the
    // background.
    int BarTop(int x, int bottom) const {
        int y = bottom - 1;
        while (y >= 0 && Pixel(x, y) != kBackground) --y;
        return y + 1;
    }

    std::set<int> ColumnsWithColorInRow(Color color, int y, int from = 0) const {
        std::set<int> columns;
        for (int x = from; x < graph_.RenderBitmap().Width(); ++x)
            if (Pixel(x, y) == color) columns.insert(x);
        return columns;
    }

    testing::FixedTextRenderer text_;
    TTrafficBuffer buffer_;
    TTrafficGraph graph_{text_};
};

TEST(FillGradientTable, RunsFromTheTopColourToJustShortOfTheBottomOne) {
    const auto table = FillGradientTable(GR_DefaultColors);
    EXPECT_EQ(table[0], 0x004A0A14u);
    EXPECT_EQ(table[128], 0x0025050Au);  // halfway: (20, 10, 74) - (10, 5, 37)
    EXPECT_EQ(table[255], 0x00000000u);  // 74 - R(73.7109375) = 0

    GR_ColorType whiteToBlack = GR_DefaultColors;
    whiteToBlack.GR_BkGr1 = 0x00FFFFFF;
    whiteToBlack.GR_BkGr2 = 0;
    EXPECT_EQ(FillGradientTable(whiteToBlack)[255], 0x00010101u);  // 255 - R(254.0039) stops one short

    GR_ColorType rising = GR_DefaultColors;
    rising.GR_BkGr1 = 0x00000000;
    rising.GR_BkGr2 = 0x00000002;  // red 0 -> 2: R(2 / 256 * 64) = R(0.5) = 0, R(1.5) = 2
    const auto ramp = FillGradientTable(rising);
    EXPECT_EQ(ramp[64], 0u);
    EXPECT_EQ(ramp[192], 2u);
}

TEST_F(TrafficGraphTest, GradientBandsAreOneRowEachIn256PixelGraph) {
    graph_.SetUseGradient(true);
    graph_.SetColors(GR_DefaultColors);
    graph_.RenderGraph(4, 256);
    const auto& table = graph_.GradientColorTable();
    for (int y = 0; y < 256; ++y) ASSERT_EQ(Pixel(3, y), table[static_cast<std::size_t>(y)]) << "row " << y;
    EXPECT_EQ(Pixel(0, 0), 0x004A0A14u);
    EXPECT_EQ(Pixel(0, 255), 0x00000000u);
}

TEST_F(TrafficGraphTest, LowGraphShowsOnlyTheBandsThatGetRows) {
    graph_.SetUseGradient(true);
    GR_ColorType steep = GR_DefaultColors;  // every band a different grey
    steep.GR_BkGr1 = 0x00FFFFFF;
    steep.GR_BkGr2 = 0;
    graph_.SetColors(steep);
    graph_.RenderGraph(2, 100);
    const auto& table = graph_.GradientColorTable();
    // Step 100/256: band 1 rounds to no rows, so row 0 already shows band 2.
    EXPECT_EQ(Pixel(0, 0), table[1]);
    EXPECT_EQ(Pixel(0, 50), table[129]);
    EXPECT_EQ(Pixel(0, 99), table[254]);  // band 256 rounds to no rows
}

TEST_F(TrafficGraphTest, ColoursChangeTheGradientAtOnceButThePictureOnlyAtTheNextRender) {
    graph_.SetUseGradient(true);
    graph_.SetColors(GR_DefaultColors);
    graph_.RenderGraph(2, 256);
    GR_ColorType colors = GR_DefaultColors;
    colors.GR_BkGr1 = 0x00FFFFFF;
    graph_.SetColors(colors);
    EXPECT_EQ(graph_.GradientColorTable()[0], 0x00FFFFFFu);
    EXPECT_EQ(Pixel(0, 0), 0x004A0A14u);
    graph_.RenderGraph(2, 256);
    EXPECT_EQ(Pixel(0, 0), 0x00FFFFFFu);
}

TEST_F(TrafficGraphTest, BarHeightsRoundTiesToEven) {
    FixScale(400);
    SetOnly(1799, 100, 0);  // 0.5 x 0.25 x 100 = 12.5 -> 12
    graph_.RenderGraph(10, 50);
    EXPECT_EQ(BarTop(9, 50), 50 - 12);
    SetOnly(1799, 300, 0);  // 37.5 -> 38
    graph_.RenderGraph(10, 50);
    EXPECT_EQ(BarTop(9, 50), 50 - 38);
}

TEST_F(TrafficGraphTest, BarsShowSharedPartAndTheExcessOfTheLargerValue) {
    FixScale(100);
    const GR_ColorType& c = graph_.Colors();
    struct Case {
        std::uint64_t up, down;
        std::int32_t upperColor;
    };
    for (const Case& k : {Case{30, 10, c.GR_Upload}, Case{10, 30, c.GR_Download}, Case{30, 30, c.GR_UpDn}}) {
        SCOPED_TRACE(::testing::Message() << "up " << k.up << " down " << k.down);
        SetOnly(1799, k.up, k.down);
        graph_.RenderGraph(5, 100);
        for (int y = 99; y >= 90; --y) EXPECT_EQ(Pixel(4, y), static_cast<Color>(c.GR_UpDn)) << y;
        for (int y = 89; y >= 70; --y) EXPECT_EQ(Pixel(4, y), static_cast<Color>(k.upperColor)) << y;
        EXPECT_EQ(Pixel(4, 69), kBackground);
        EXPECT_EQ(Pixel(3, 99), kBackground);
    }
}

TEST_F(TrafficGraphTest, ValueFarAboveTheScaleIsCutAtTheTop) {
    FixScale(1);
    SetOnly(1799, UINT64_MAX, 0);
    graph_.RenderGraph(3, 40);
    EXPECT_EQ(BarTop(2, 40), 0);
}

TEST_F(TrafficGraphTest, NarrowControlShowsTheNewestValuesOnly) {
    FixScale(100);
    buffer_.Clear();
    for (int i = 0; i < 1800; ++i) buffer_.Add(i == 799 ? 50 : i == 800 ? 10 : i == 1799 ? 20 : 0, 0);
    graph_.RenderGraph(1000, 100);
    EXPECT_EQ(ColumnsWithColorInRow(static_cast<Color>(graph_.Colors().GR_Upload), 99), (std::set<int>{0, 999}));
    EXPECT_EQ(BarTop(0, 100), 90);
    EXPECT_EQ(BarTop(999, 100), 80);
}

TEST_F(TrafficGraphTest, WideControlPutsTheHistoryAtTheRight) {
    FixScale(100);
    buffer_.SetBufferLen(600);
    buffer_.Clear();
    for (int i = 0; i < 600; ++i) buffer_.Add(i == 0 ? 10 : i == 599 ? 20 : 0, 0);
    graph_.RenderGraph(1000, 100);
    EXPECT_EQ(ColumnsWithColorInRow(static_cast<Color>(graph_.Colors().GR_Upload), 99), (std::set<int>{400, 999}));
    EXPECT_EQ(graph_.MaxWidth(), 600);
}

TEST_F(TrafficGraphTest, ZeroMaxValueDrawsBackgroundOnly) {
    FixScale(0);
    SetOnly(1799, 1000, 1000);
    graph_.RenderGraph(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(Pixel(x, y), kBackground);
}

TEST_F(TrafficGraphTest, AutoscaleFitsTheLargestVisibleValueToTheTopRow) {
    SetOnly(1799, 0, 0);
    buffer_.Add(0, 40);
    buffer_.Add(25, 0);
    buffer_.Add(0, 0);
    graph_.RenderGraph(50, 60);
    EXPECT_EQ(graph_.MaxValue(), 40u);
    EXPECT_EQ(BarTop(47, 60), 0);   // the 40
    EXPECT_EQ(BarTop(48, 60), 22);  // 25 of 40 in 60 rows: 37.5 -> 38
    EXPECT_EQ(BarTop(49, 60), 60);
}

TEST_F(TrafficGraphTest, AutoscaleIgnoresValuesOutsideTheGraph) {
    SetOnly(0, 5000, 0);
    buffer_.Add(10, 0);
    graph_.RenderGraph(100, 30);
    EXPECT_EQ(graph_.MaxValue(), 10u);
    EXPECT_EQ(BarTop(99, 30), 0);
}

TEST_F(TrafficGraphTest, HorizontalGridDividesTheGraphIntoTenBands) {
    graph_.SetShowHorGrid(true);
    FixScale(100);
    SetOnly(1799, 100, 100);  // grid lies over the bars
    graph_.RenderGraph(6, 25);
    const std::set<int> expected{2, 5, 8, 10, 12, 15, 18, 20, 22};
    for (int y = 0; y < 25; ++y) {
        EXPECT_EQ(Pixel(0, y) == kGrid, expected.contains(y)) << "row " << y;
        EXPECT_EQ(Pixel(5, y) == kGrid, expected.contains(y)) << "row " << y;
    }
}

TEST_F(TrafficGraphTest, VerticalGridIsCountedFromTheRightEdge) {
    graph_.SetGraphVertGrid(60);
    graph_.RenderGraph(200, 30);
    EXPECT_EQ(ColumnsWithColorInRow(kGrid, 0), (std::set<int>{20, 80, 140}));
    graph_.RenderGraph(180, 30);
    EXPECT_EQ(ColumnsWithColorInRow(kGrid, 0), (std::set<int>{0, 60, 120}));
}

TEST_F(TrafficGraphTest, VerticalGridIsDottedAndItsGapsKeepTheBars) {
    graph_.SetGraphVertGrid(10);
    FixScale(100);
    for (int i = 0; i < buffer_.BufferLen(); ++i) buffer_.Add(100, 100);
    graph_.RenderGraph(11, 30);  // one line, in column 1
    int drawn = 0;
    int keptBar = 0;
    for (int y = 0; y < 30; ++y) {
        if (Pixel(1, y) == kGrid) ++drawn;
        if (Pixel(1, y) == static_cast<Color>(graph_.Colors().GR_UpDn)) ++keptBar;
    }
    EXPECT_GT(drawn, 0);
    EXPECT_GT(keptBar, 0);
    EXPECT_EQ(drawn + keptBar, 30);
}

TEST_F(TrafficGraphTest, VerticalGridStartsAtTheGraphAreaNotTheControl) {
    graph_.SetShowMVLabel(true);
    graph_.SetFontAutosize(false);
    graph_.SetGraphVertGrid(60);
    graph_.RenderGraph(220, 200);
    const int c = testing::FixedTextRenderer::CellHeight(TextFont{}) + 4;
    ASSERT_EQ(c, 20);
    EXPECT_EQ(ColumnsWithColorInRow(kGrid, 0, c), (std::set<int>{40, 100, 160}));
}

TEST_F(TrafficGraphTest, ColumnAsWideAsTheControlLeavesNoGraphArea) {
    graph_.SetShowMVLabel(true);
    SetOnly(0, 777, 0);
    graph_.RenderGraph(20, 150);
    EXPECT_EQ(graph_.MaxValue(), 777u);  // no visible values: the whole history counts
    const GR_ColorType& c = graph_.Colors();
    const std::set<Color> labelColors{static_cast<Color>(c.MV_BkGr), static_cast<Color>(c.MV_Font),
                                      static_cast<Color>(c.MV_Outline)};
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_TRUE(labelColors.contains(Pixel(x, y))) << x << "," << y;
    EXPECT_EQ(graph_.MaxWidth(), 1800 + 20);
}

TEST_F(TrafficGraphTest, DisabledGraphChangesNothing) {
    graph_.SetUseGradient(true);
    SetOnly(1799, 10, 20);
    graph_.RenderGraph(30, 20);
    const std::wstring up = graph_.ULabel();
    const Color corner = Pixel(29, 19);

    graph_.SetGraphEnabled(false);
    SetOnly(1799, 5000, 6000);
    graph_.RenderGraph(60, 40);
    EXPECT_EQ(graph_.RenderBitmap().Width(), 30);
    EXPECT_EQ(Pixel(29, 19), corner);
    EXPECT_EQ(graph_.ULabel(), up);
    EXPECT_EQ(graph_.MaxValue(), 20u);
}

TEST_F(TrafficGraphTest, EmptySizesAndMissingHistoryNeverFault) {
    graph_.SetShowUDLabel(true);
    graph_.SetShowMVLabel(true);
    graph_.SetShowIFLabel(true);
    graph_.SetShowHorGrid(true);
    graph_.SetGraphVertGrid(1);
    for (auto [w, h] : {std::pair{0, 0}, {0, 50}, {50, 0}, {-5, -5}, {1, 1}}) graph_.RenderGraph(w, h);
    graph_.SetTrafficBuffer(nullptr);
    graph_.RenderGraph(100, 100);
    EXPECT_EQ(graph_.MaxValue(), 0u);
    EXPECT_EQ(graph_.MaxWidth(), 20);  // only the column
    EXPECT_EQ(graph_.ULabel(), L"\u25B2 0.0 kb/s");
}

TEST_F(TrafficGraphTest, StoredValuesOutsideTheirRangeDrawSoundly) {
    GR_ColorType colors = graph_.Colors();
    colors.GR_BkGr1 = static_cast<std::int32_t>(0x7F000000u | kBackground);  // junk above the colour bytes
    graph_.SetColors(colors);
    GR_Fonts fonts = GR_DefaultFonts;
    fonts[kUDLabel].Size = INT32_MAX;
    fonts[kMVLabel].Size = INT32_MIN;
    graph_.SetLabelFonts(fonts);
    graph_.SetFontAutosize(false);
    graph_.SetShowUDLabel(true);
    graph_.SetShowMVLabel(true);
    graph_.SetUDDisplayUnit(99);
    graph_.RenderGraph(320, 240);
    EXPECT_EQ(Pixel(319, 0), kBackground);
    EXPECT_EQ(graph_.ULabel(), L"\u25B2 0.0 kb/s");
    EXPECT_EQ(graph_.LabelFonts()[kUDLabel].Size, INT32_MAX);  // the configuration itself stays
}

TEST(TrafficGraphDefaults, NewGraphStartsWithTheFactorySettings) {
    testing::FixedTextRenderer text;
    const TTrafficGraph graph(text);
    EXPECT_EQ(graph.TrafficBuffer(), nullptr);
    EXPECT_EQ(graph.Colors(), GR_DefaultColors);
    EXPECT_EQ(graph.LabelFonts(), GR_DefaultFonts);
    EXPECT_EQ(graph.LabelFonts()[kIFLabel], (GR_FontType{L"Tahoma", 10, false, false}));
    for (const std::wstring* label : {&graph.ULabel(), &graph.DLabel(), &graph.MVLabel(), &graph.IFLabel()})
        EXPECT_EQ(*label, L"---");
    EXPECT_EQ(graph.MaxValue(), 0u);
    EXPECT_TRUE(graph.ShowUDLabel() && graph.ShowMVLabel() && graph.ShowIFLabel());
    EXPECT_TRUE(graph.FontAutosize() && graph.Autoscale() && graph.ShowHorGrid() && graph.UseGradient());
    EXPECT_FALSE(graph.DisplayAverage());
    EXPECT_TRUE(graph.GraphEnabled());
    EXPECT_EQ(graph.GraphVertGrid(), 60);
    EXPECT_EQ(graph.UDDisplayUnit(), 0);
    EXPECT_EQ(graph.MVDisplayUnit(), 0);
}

}  // namespace
}  // namespace orvalet
