#include "rendering/traffic_graph.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "rendering/graph_style.h"
#include "rendering/traffic_format.h"
#include "rendering/units.h"
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
        colors_.GR_BkGr1 = static_cast<std::int32_t>(kBackground);
        colors_.MV_BkGr = 0x00405060;  // unlike the grid
        graph_.SetColors(colors_);
    }

    void FixScale(std::uint64_t maxValue) {
        graph_.SetAutoscale(false);
        graph_.SetMaxValue(maxValue);
    }

    // Puts a sample at a position of the history, all others 0.
    void SetOnly(int index, std::uint64_t up, std::uint64_t down) {
        buffer_.Clear();
        for (int i = 0; i < buffer_.BufferLen(); ++i) buffer_.Add(i == index ? up : 0, i == index ? down : 0);
    }

    Color Pixel(int x, int y) const { return graph_.RenderBitmap().Pixel(x, y); }
    Color Colour(std::int32_t field) const { return static_cast<Color>(field); }

    // Top row of the bar in a column: the highest of the non-background rows
    // that run up from the bottom.
    int BarTop(int x, int bottom) const {
        int y = bottom - 1;
        while (y >= 0 && Pixel(x, y) != kBackground) --y;
        return y + 1;
    }

    std::set<int> ColumnsWithColorInRow(Color color, int y) const {
        std::set<int> columns;
        for (int x = 0; x < graph_.RenderBitmap().Width(); ++x)
            if (Pixel(x, y) == color) columns.insert(x);
        return columns;
    }

    testing::FixedTextRenderer text_;
    TTrafficBuffer buffer_;
    TTrafficGraph graph_{text_};
    GR_ColorType colors_ = GR_DefaultColors;
};

TEST_F(TrafficGraphTest, GradientHasOneRowPerBandIn256PixelsAndChangesAtTheNextRender) {
    graph_.SetUseGradient(true);
    graph_.SetColors(GR_DefaultColors);
    graph_.RenderGraph(4, 256);
    const auto& table = graph_.GradientColorTable();
    for (int y = 0; y < 256; ++y) ASSERT_EQ(Pixel(3, y), table[static_cast<std::size_t>(y)]) << "row " << y;
    EXPECT_EQ(Pixel(0, 0), 0x004A0A14u);
    EXPECT_EQ(table[128], 0x0025050Au);     // halfway: (20, 10, 74) - (10, 5, 37)
    EXPECT_EQ(Pixel(0, 255), 0x00000000u);  // black: 74 - R(73.7109375) = 0

    colors_.GR_BkGr1 = 0x00FFFFFF;  // every band a different grey
    colors_.GR_BkGr2 = 0;
    graph_.SetColors(colors_);
    EXPECT_EQ(table[0], 0x00FFFFFFu);
    EXPECT_EQ(table[255], 0x00010101u);  // 255 - R(254.0039) stops one short
    EXPECT_EQ(Pixel(0, 0), 0x004A0A14u);
    graph_.RenderGraph(2, 100);
    // Step 100/256: band 1 rounds to no rows, so row 0 already shows band 2.
    EXPECT_EQ(Pixel(0, 0), table[1]);
    EXPECT_EQ(Pixel(0, 50), table[129]);
    EXPECT_EQ(Pixel(0, 99), table[254]);  // band 256 rounds to no rows

    colors_.GR_BkGr1 = 0;
    colors_.GR_BkGr2 = 0x00000002;  // red 0 -> 2: R(2 / 256 * 64) = R(0.5) = 0, R(1.5) = 2
    EXPECT_EQ(FillGradientTable(colors_)[64], 0u);
    EXPECT_EQ(FillGradientTable(colors_)[192], 2u);
}

TEST_F(TrafficGraphTest, BarHeightsRoundTiesToEvenAndStopAtTheTop) {
    struct Case {
        std::uint64_t max, up;
        int height, top;
    };
    for (const Case& c : {Case{400, 100, 50, 50 - 12},  // 0.5 x 0.25 x 100 = 12.5 -> 12
                          Case{400, 300, 50, 50 - 38},  // 37.5 -> 38
                          Case{1, UINT64_MAX, 40, 0}, Case{0, 1000, 40, 40}}) {
        SCOPED_TRACE(::testing::Message() << c.up << " of " << c.max);
        FixScale(c.max);
        SetOnly(1799, c.up, c.up);
        graph_.RenderGraph(10, c.height);
        EXPECT_EQ(BarTop(9, c.height), c.top);
    }
}

TEST_F(TrafficGraphTest, BarsShowSharedPartAndTheExcessOfTheLargerValue) {
    FixScale(100);
    struct Case {
        std::uint64_t up, down;
        std::int32_t upperColor;
    };
    for (const Case& k : {Case{30, 10, colors_.GR_Upload}, Case{10, 30, colors_.GR_Download},
                          Case{30, 30, colors_.GR_UpDn}}) {
        SCOPED_TRACE(::testing::Message() << "up " << k.up << " down " << k.down);
        SetOnly(1799, k.up, k.down);
        graph_.RenderGraph(5, 100);
        for (int y = 99; y >= 90; --y) EXPECT_EQ(Pixel(4, y), Colour(colors_.GR_UpDn)) << y;
        for (int y = 89; y >= 70; --y) EXPECT_EQ(Pixel(4, y), Colour(k.upperColor)) << y;
        EXPECT_EQ(Pixel(4, 69), kBackground);
        EXPECT_EQ(Pixel(3, 99), kBackground);
    }
}

TEST_F(TrafficGraphTest, HistoryIsRightAlignedShowingTheNewestValuesOnly) {
    FixScale(100);
    for (auto [length, first] : {std::pair{1800, 0}, {600, 400}}) {
        SCOPED_TRACE(length);
        buffer_.SetBufferLen(length);
        buffer_.Clear();
        const int oldest = std::max(0, length - 1000);  // the oldest value a 1000-pixel graph shows
        for (int i = 0; i < length; ++i)
            buffer_.Add(i == oldest - 1 ? 50 : i == oldest ? 10 : i == length - 1 ? 20 : 0, 0);
        graph_.RenderGraph(1000, 100);
        EXPECT_EQ(ColumnsWithColorInRow(Colour(colors_.GR_Upload), 99), (std::set<int>{first, 999}));
        EXPECT_EQ(BarTop(first, 100), 90);
        EXPECT_EQ(BarTop(999, 100), 80);
        EXPECT_EQ(graph_.MaxWidth(), length);
    }
}

TEST_F(TrafficGraphTest, AutoscaleFitsTheLargestVisibleValueToTheTopRow) {
    SetOnly(1752, 5000, 0);  // after the three values below: just left of a 50-pixel graph
    buffer_.Add(0, 40);
    buffer_.Add(25, 0);
    buffer_.Add(0, 0);
    graph_.RenderGraph(50, 60);
    EXPECT_EQ(graph_.MaxValue(), 40u);
    EXPECT_EQ(BarTop(47, 60), 0);   // the 40
    EXPECT_EQ(BarTop(48, 60), 22);  // 25 of 40 in 60 rows: 37.5 -> 38
    EXPECT_EQ(BarTop(49, 60), 60);
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

TEST_F(TrafficGraphTest, VerticalGridIsDottedOverTheBarsAndCountedFromTheRightOfTheGraphArea) {
    graph_.SetGraphVertGrid(60);
    graph_.SetFontAutosize(false);  // the column is 20 pixels wide
    FixScale(100);
    for (int i = 0; i < buffer_.BufferLen(); ++i) buffer_.Add(100, 100);
    struct Case {
        int width;
        bool column;
        std::set<int> lines;
    };
    for (const Case& c : {Case{200, false, {20, 80, 140}}, Case{180, false, {0, 60, 120}},
                          Case{190, true, {70, 130}}}) {  // none at 10, in the column
        SCOPED_TRACE(c.width);
        graph_.SetShowMVLabel(c.column);
        graph_.RenderGraph(c.width, 120);
        EXPECT_EQ(ColumnsWithColorInRow(kGrid, 0), c.lines);
        for (int x : c.lines)
            for (int y = 0; y < 120; ++y)
                EXPECT_EQ(Pixel(x, y), y % 6 < 3 ? kGrid : Colour(colors_.GR_UpDn)) << x << "," << y;
    }
}

TEST_F(TrafficGraphTest, ColumnAsWideAsTheControlLeavesNoGraphArea) {
    graph_.SetShowMVLabel(true);
    SetOnly(0, 777, 0);
    graph_.RenderGraph(20, 150);
    EXPECT_EQ(graph_.MaxValue(), 777u);  // no visible values: the whole history counts
    const std::set<Color> labelColors{Colour(colors_.MV_BkGr), Colour(colors_.MV_Font), Colour(colors_.MV_Outline)};
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
    colors_.GR_BkGr1 = static_cast<std::int32_t>(0x7F000000u | kBackground);  // junk above the colour bytes
    graph_.SetColors(colors_);
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

// A graph that skips renders which cannot change its picture shows, tick
// after tick, exactly what a graph rendering in full shows.
TEST(TrafficGraphSkip, SkippedRendersLeaveWhatAFullRenderWouldDrawOverAScriptedSequence) {
    testing::FixedTextRenderer text;
    text.SetRecordCalls(false);
    TTrafficBuffer buffer;
    TTrafficGraph skipping(text), full(text);
    for (TTrafficGraph* graph : {&skipping, &full}) graph->SetTrafficBuffer(&buffer);
    int w = 120, h = 90, skipped = 0;
    for (int tick = 0; tick < 400; ++tick) {
        const bool burst = (tick >= 20 && tick < 30) || tick == 200;
        buffer.Add(burst ? 1000 + tick : 0, burst ? 3000 : 0);
        for (TTrafficGraph* graph : {&skipping, &full}) {
            if (tick == 250) graph->SetIFLabel(L"Wi-Fi");  // a label text
            if (tick == 270) graph->SetUseGradient(false);  // an option
            if (tick == 290) graph->SetAutoscale(false);
            if (tick == 300 || tick == 320) graph->SetMaxValue(tick == 300 ? 5000 : 0);  // the given scale
        }
        if (tick == 340) w = 500;  // wider than the history scrolled so far: all values visible
        if (tick == 360) h = 20;   // too low for the maximum label
        // Label texts written from outside, another unit and other separators
        // are all taken up by the next render.
        if (tick == 370) skipping.SetULabel(L"stale");
        if (tick == 375) skipping.SetUDDisplayUnit(2), full.SetUDDisplayUnit(2);
        if (tick == 380) SetUserNumberFormat({L",", L"."});
        skipped += !skipping.RenderGraphIfChanged(w, h);
        full.RenderGraph(w, h);
        ASSERT_EQ(skipping.MaxValue(), full.MaxValue()) << "tick " << tick;
        std::wstring up, down;
        WriteUploadLabelText(up, buffer.Upload(), skipping.UDDisplayUnit());
        WriteDownloadLabelText(down, buffer.Download(), skipping.UDDisplayUnit());
        ASSERT_EQ(skipping.ULabel() + skipping.DLabel(), up + down) << "tick " << tick;
        ASSERT_EQ(skipping.MVLabel(), full.MVLabel()) << "tick " << tick;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(skipping.RenderBitmap().Pixel(x, y), full.RenderBitmap().Pixel(x, y))
                    << "tick " << tick << " at " << x << "," << y;
    }
    SetUserNumberFormat({});
    // Idle stretches, also once a burst has scrolled out of view: ticks 1-19,
    // 151-199 and 321-339.
    EXPECT_EQ(skipped, 87);
}

// Each change leaves the label texts as they were (no traffic, an unknown
// unit reads as unit 0), so only the comparison of the style can see it.
TEST_F(TrafficGraphTest, ChangingAnyFieldOfTheStyleRedrawsAnIdleGraph) {
    using Change = void (*)(GraphStyle&);
    const std::pair<const char*, Change> changes[] = {
        {"colors", [](GraphStyle& s) { s.colors.IF_Outline ^= 1; }},
        {"labelFonts", [](GraphStyle& s) { s.labelFonts[kIFLabel].Italic = true; }},
        {"showLabel", [](GraphStyle& s) { s.showLabel[kIFLabel] = true; }},
        {"fontAutosize", [](GraphStyle& s) { s.fontAutosize = !s.fontAutosize; }},
        {"autoscale", [](GraphStyle& s) { s.autoscale = !s.autoscale; }},
        {"useGradient", [](GraphStyle& s) { s.useGradient = !s.useGradient; }},
        {"showHorGrid", [](GraphStyle& s) { s.showHorGrid = !s.showHorGrid; }},
        {"graphVertGrid", [](GraphStyle& s) { s.graphVertGrid += 7; }},
        {"udDisplayUnit", [](GraphStyle& s) { s.udDisplayUnit = kDisplayUnitCount; }},
        {"mvDisplayUnit", [](GraphStyle& s) { s.mvDisplayUnit = kDisplayUnitCount; }},
        {"displayAverage", [](GraphStyle& s) { s.displayAverage = !s.displayAverage; }},
    };
    graph_.SetIFLabel(L"eth0");
    for (const auto& [field, change] : changes) {
        SCOPED_TRACE(field);
        graph_.RenderGraphIfChanged(100, 80);
        ASSERT_FALSE(graph_.RenderGraphIfChanged(100, 80));
        GraphStyle style = graph_.Style();
        change(style);
        graph_.SetStyle(style);
        EXPECT_TRUE(graph_.RenderGraphIfChanged(100, 80));
    }
}

// The graph area drawn the plain way, pixel rule by pixel rule through the
// canvas: background bands, one bar column after another, nine grid lines,
// dotted verticals. The row-composed render must give the same pixels.
void DrawGraphAreaByTheRules(const TTrafficGraph& graph, const TTrafficBuffer& buffer, Canvas& canvas, int c,
                             int w, int gh) {
    const GR_ColorType& k = graph.Colors();
    const auto r = [](double x) { return static_cast<int>(std::nearbyint(x)); };
    if (graph.UseGradient()) {
        for (int i = 0; i < 256; ++i) {
            canvas.SetBrushColor(graph.GradientColorTable()[static_cast<std::size_t>(i)]);
            canvas.FillRect(c, r(gh / 256.0 * i), w, r(gh / 256.0 * (i + 1)));
        }
    } else {
        canvas.SetBrushColor(ToColor(k.GR_BkGr1));
        canvas.FillRect(c, 0, w, gh);
    }
    const int n = buffer.BufferLen();
    for (int i = std::max(0, n - (w - c)); i < n && graph.MaxValue() != 0; ++i) {
        const auto height = [&](std::uint64_t v) {
            return std::min<double>(r((gh / 100.0) * (double(v) / double(graph.MaxValue())) * 100), gh);
        };
        const int up = int(height(buffer.UploadBuffer()[std::size_t(i)]));
        const int dn = int(height(buffer.DownloadBuffer()[std::size_t(i)]));
        const int x = w - n + i;
        canvas.SetPenColor(ToColor(k.GR_UpDn));
        canvas.Line(x, gh - 1, x, gh - std::min(up, dn) - 1);
        canvas.SetPenColor(ToColor(up > dn ? k.GR_Upload : k.GR_Download));
        canvas.Line(x, gh - std::min(up, dn) - 1, x, gh - std::max(up, dn) - 1);
    }
    canvas.SetPenColor(ToColor(k.GR_Grid));
    for (int line = 1; line <= 9 && graph.ShowHorGrid(); ++line) canvas.Line(c, r(gh / 10.0 * line), w, r(gh / 10.0 * line));
    canvas.SetPenStyle(PenStyle::Dotted);
    for (int x = w - graph.GraphVertGrid(); graph.GraphVertGrid() > 0 && x >= c; x -= graph.GraphVertGrid())
        canvas.Line(x, 0, x, gh);
}

TEST_F(TrafficGraphTest, RowComposedGraphAreaEqualsThePlainDrawingOverRandomGraphs) {
    std::mt19937 random(12);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    buffer_.SetBufferLen(300);
    for (int round = 0; round < 300; ++round) {
        for (int i = pick(1, 300); i > 0; --i)
            buffer_.Add(pick(0, 3) ? std::uint64_t(pick(0, 1000)) : 0, pick(0, 4) ? std::uint64_t(pick(0, 1200)) : 0);
        graph_.SetUseGradient(pick(0, 1));
        graph_.SetShowHorGrid(pick(0, 1));
        graph_.SetGraphVertGrid(pick(-1, 9));
        graph_.SetShowUDLabel(pick(0, 1));
        graph_.SetShowMVLabel(pick(0, 1));
        graph_.SetAutoscale(pick(0, 1));
        if (!graph_.Autoscale()) graph_.SetMaxValue(std::uint64_t(pick(0, 1500)));
        const int w = pick(1, 400), h = pick(1, 3) == 1 ? pick(1, 40) : pick(1, 300);
        graph_.RenderGraph(w, h);

        Bitmap expected;
        expected.SetSize(w, h);
        ASSERT_TRUE(expected.CopyFrom(graph_.RenderBitmap()));
        Canvas canvas(expected, text_);
        const LabelContent labels{graph_.ULabel(), graph_.DLabel(), graph_.MVLabel(), graph_.IFLabel(),
                                  &graph_.LabelFonts(), {false, graph_.ShowUDLabel(), graph_.ShowMVLabel(), false},
                                  graph_.FontAutosize()};
        const LabelLayout layout = LayOutLabels(canvas, labels, w, h);
        if (layout.C >= w || layout.S >= h) continue;
        DrawGraphAreaByTheRules(graph_, buffer_, canvas, layout.C, w, h - layout.S);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(Pixel(x, y), expected.Pixel(x, y)) << "round " << round << " at " << x << "," << y;
    }
}

}  // namespace
}  // namespace orvalet
