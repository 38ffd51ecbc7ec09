#include "rendering/graph_labels.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "rendering/traffic_graph.h"
#include "sampling/traffic_buffer.h"
#include "support/fixed_text_renderer.h"

namespace orvalet {
namespace {

using testing::FixedTextRenderer;
using Flags = std::array<bool, 4>;  // by label index 1..3

// "UMI" with a letter for each of the labels 1..3 that is set, '-' for one that is not.
Flags Labels(const char* set) { return {false, set[0] == 'U', set[1] == 'M', set[2] == 'I'}; }

int Cell(int points) { return FixedTextRenderer::CellHeight(TextFont{L"", points}); }

// Layout measured with the fixed renderer: a 10 point letter is 6 pixels
// wide, its cell 16 high, so strip, column and name label are 20 pixels.
class LabelLayoutTest : public ::testing::Test {
protected:
    LabelLayout Lay(int w, int h, LabelMetrics metrics = {}) {
        const LabelContent labels{up_, down_, max_, name_, &fonts_, wanted_, autosize_};
        return LayOutLabels(canvas_, labels, w, h, metrics);
    }

    FixedTextRenderer text_;
    Bitmap bitmap_;
    Canvas canvas_{bitmap_, text_};
    GR_Fonts fonts_ = GR_DefaultFonts;
    std::wstring up_ = L"up", down_ = L"down", max_ = L"MAX", name_ = L"eth0";
    Flags wanted_ = Labels("UMI");
    bool autosize_ = false;
};

TEST_F(LabelLayoutTest, RateTextsAreHiddenTogetherWhenEitherLacksRoom) {
    struct Case {
        int downLetters, upLetters, width;
        bool shown;
        int xd = 0, xu = 0;
    };
    const Case cases[] = {
        {8, 2, 100, false},    // XD = 50 - 48 - 4 = -2, although the upload text fits
        {7, 2, 100, true, 4, 54},
        {7, 8, 100, false},    // 54 + 48 + 2 > 100
        {7, 2, 98, true, 3, 53},  // the download text needs three pixels at the left
        {7, 2, 96, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.downLetters << " " << c.upLetters << " " << c.width);
        down_.assign(static_cast<std::size_t>(c.downLetters), L'd');
        up_.assign(static_cast<std::size_t>(c.upLetters), L'u');
        const LabelLayout layout = Lay(c.width, 200);
        EXPECT_EQ(layout.Shown[kUDLabel], c.shown);
        EXPECT_EQ(layout.S, c.shown ? 20 : 0);
        if (c.shown) {
            EXPECT_EQ(std::pair(layout.XD, layout.XU), std::pair(c.xd, c.xu));
        }
    }
}

TEST_F(LabelLayoutTest, EachLabelNeedsRoomLeftByTheOnesBefore) {
    struct Case {
        const char* wanted;
        int w, h;
        const char* shown;
    };
    const Case cases[] = {
        // " MAX " (30) beside the 20-pixel strip needs 30 + 20 + 4 rows.
        {"UMI", 400, 54, "UMI"},
        {"UMI", 400, 53, "U-I"},
        {"-MI", 400, 53, "-MI"},
        // A column or strip larger than the control is dropped.
        {"-M-", 20, 400, "-M-"},
        {"-M-", 19, 400, "---"},
        {"U--", 400, 20, "U--"},
        {"U--", 400, 19, "---"},
        // The name needs 20 (column) + 24 + 8 columns, and its row above the strip.
        {"-MI", 52, 400, "-MI"},
        {"-MI", 51, 400, "-M-"},
        {"U-I", 400, 39, "U--"},
        {"U-I", 400, 40, "U-I"},
        // Unwanted labels take no room.
        {"---", 400, 400, "---"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.w << " x " << c.h << ", wanted " << c.wanted);
        wanted_ = Labels(c.wanted);
        const LabelLayout layout = Lay(c.w, c.h);
        const Flags shown = Labels(c.shown);
        EXPECT_EQ(layout.Shown, shown);
        EXPECT_EQ(layout.S, shown[kUDLabel] ? 20 : 0);
        EXPECT_EQ(layout.C, shown[kMVLabel] ? 20 : 0);
        EXPECT_EQ(layout.T, shown[kIFLabel] ? 20 : 0);
    }
}

TEST_F(LabelLayoutTest, SizesComeFromTheFontsOrAutosizeAndSetStripAndColumn) {
    struct Case {
        const char* what;
        bool autosize;
        std::array<int, 4> configured;  // by label index 1..3
        const char* wanted;
        int downLetters, w, h;
        const char* shown;
        std::array<std::int32_t, 4> size;
        int s, c;
        int xd = -1;
    };
    const Case cases[] = {
        // Strip and column follow the letter height, not the texts.
        {"fixed", false, {0, 20, 12, 10}, "UMI", 4, 400, 400, "UMI", {0, 20, 12, 10}, Cell(20) + 4, Cell(12) + 4},
        {"empty rate texts", false, {0, 20, 12, 10}, "UMI", 0, 400, 400, "UMI", {0, 20, 12, 10}, Cell(20) + 4,
         Cell(12) + 4},
        // Autosize starts at the nearest table size, ties to the smaller.
        {"13", true, {0, 13, 13, 13}, "UMI", 4, 4000, 4000, "UMI", {0, 12, 12, 12}, Cell(12) + 4, Cell(12) + 4},
        {"15", true, {0, 15, 15, 15}, "UMI", 4, 4000, 4000, "UMI", {0, 14, 14, 14}, Cell(14) + 4, Cell(14) + 4},
        {"32", true, {0, 32, 32, 32}, "UMI", 4, 4000, 4000, "UMI", {0, 28, 28, 28}, Cell(28) + 4, Cell(28) + 4},
        {"60", true, {0, 60, 60, 60}, "UMI", 4, 4000, 4000, "UMI", {0, 48, 48, 48}, Cell(48) + 4, Cell(48) + 4},
        {"100", true, {0, 100, 100, 100}, "UMI", 4, 4000, 4000, "UMI", {0, 72, 72, 72}, Cell(72) + 4, Cell(72) + 4},
        {"5", true, {0, 5, 5, 5}, "UMI", 4, 4000, 4000, "UMI", {0, 8, 8, 8}, Cell(8) + 4, Cell(8) + 4},
        // " MAX " is 5 letters: 5 * (s / 2 + 1) + 4 <= 64 first holds at 22.
        {"largest that fits", true, {0, 10, 72, 10}, "-M-", 4, 400, 64, "-M-", {0, 10, 22, 10}, 0, Cell(22) + 4},
        // Ten letters are 40 pixels at 6 points, 50 at 8: a size below the
        // table is kept only without autosize.
        {"6 fixed", false, {0, 6, 6, 6}, "U--", 10, 100, 100, "U--", {0, 6, 6, 6}, Cell(6) + 4, 0},
        {"6 autosized", true, {0, 6, 6, 6}, "U--", 10, 100, 100, "---", {0, 8, 8, 8}, 0, 0},
        // Later labels are fitted with the final sizes of earlier ones: 8
        // letters fit from 9 points down; at 72 points the column (113) is
        // wider than the control, at 48 it is 77; beside that "eth0" never
        // fits, against the C of a rejected try it would.
        {"in order", true, {0, 72, 72, 72}, "UMI", 8, 100, 400, "UM-", {0, 9, 48, 8}, Cell(9) + 4, 77, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        autosize_ = c.autosize;
        for (int k = 1; k <= 3; ++k) fonts_[k].Size = c.configured[static_cast<std::size_t>(k)];
        wanted_ = Labels(c.wanted);
        down_.assign(static_cast<std::size_t>(c.downLetters), L'd');
        up_ = c.downLetters == 0 ? L"" : L"up";
        const LabelLayout layout = Lay(c.w, c.h);
        EXPECT_EQ(layout.Shown, Labels(c.shown));
        EXPECT_EQ(layout.Size, c.size);
        EXPECT_EQ(std::pair(layout.S, layout.C), std::pair(c.s, c.c));
        EXPECT_EQ(fonts_[kMVLabel].Size, c.configured[kMVLabel]);  // the configured size stays
        if (c.xd >= 0) {
            EXPECT_EQ(layout.XD, c.xd);
        }
    }
}

TEST_F(LabelLayoutTest, NearestTableSizeOfExtremesAndOfTableSizes) {
    auto nearest = [](int size) { return GR_FontSizes[static_cast<std::size_t>(NearestFontSizePosition(size))]; };
    EXPECT_EQ(nearest(INT32_MIN), 8);
    EXPECT_EQ(nearest(INT32_MAX), 72);
    for (int size : GR_FontSizes) EXPECT_EQ(nearest(size), size);
}

TEST_F(LabelLayoutTest, MarginsGrowWithTheDpi) {
    const LabelLayout layout = Lay(200, 200, LabelMetrics{192});
    EXPECT_EQ(layout.XU, 100 + 8);
    EXPECT_EQ(layout.S, Cell(10) + 8);
}

TEST_F(LabelLayoutTest, OutlinedTextDrawsFourOutlinesThenTheTextWithoutBackground) {
    bitmap_.SetSize(50, 50);
    canvas_.SetBrushColor(0x00FFFFFF);
    DrawOutlinedText(canvas_, 10, 20, L"ab", 0x00000011, 0x00000022);
    const auto& calls = text_.Calls();
    ASSERT_EQ(calls.size(), 5u);
    const std::pair<int, int> at[] = {{9, 20}, {11, 20}, {10, 19}, {10, 21}, {10, 20}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(std::pair(calls[i].x, calls[i].y), at[i]);
        EXPECT_EQ(calls[i].font.color, i < 4 ? 0x00000022u : 0x00000011u);
        EXPECT_FALSE(calls[i].hasBackground);
    }
    EXPECT_EQ(bitmap_.Pixel(11, 22), 0x00000011u);  // the text wins where it overlaps an outline
}

TEST_F(LabelLayoutTest, LabelFontTakesFaceAndStyleAndTurnsOnlyTheMaximumLabel) {
    fonts_[kMVLabel] = GR_FontType{L"Default", 14, true, true};
    TextFont coloured;
    coloured.color = 0x00123456;
    canvas_.SetFont(coloured);
    SelectLabelFont(canvas_, fonts_, kMVLabel, 9);
    EXPECT_EQ(canvas_.Font(), (TextFont{L"Default", 9, true, true, 0x00123456, 900}));
    SelectLabelFont(canvas_, fonts_, kIFLabel, 11);
    EXPECT_EQ(canvas_.Font(), (TextFont{L"Tahoma", 11, false, false, 0x00123456, 0}));
}

// A whole graph with its labels, 10 points each.
class GraphLabelsTest : public ::testing::Test {
protected:
    GraphLabelsTest() { graph_.SetTrafficBuffer(&buffer_); }

    std::pair<int, int> LastPlaceOf(const std::wstring& text) const {
        std::pair<int, int> found{-1, -1};
        for (const auto& call : text_.Calls())
            if (call.text == text) found = {call.x, call.y};
        return found;
    }

    FixedTextRenderer text_;
    TTrafficBuffer buffer_;
    TTrafficGraph graph_{text_};
};

TEST_F(GraphLabelsTest, TextsShowTheNewestValuesOrTheirAverages) {
    buffer_.Add(10, 20);
    buffer_.Add(1250, 125000);
    graph_.SetUDDisplayUnit(2);
    graph_.SetMVDisplayUnit(0);
    graph_.SetAutoscale(false);
    graph_.SetMaxValue(125000);
    graph_.RenderGraph(320, 240);
    EXPECT_EQ(graph_.ULabel(), L"\u25B2 1.3 kB/s");
    EXPECT_EQ(graph_.DLabel(), L"\u25BC 125.0 kB/s");
    EXPECT_EQ(graph_.MVLabel(), L"MAX: 1.00 Mb/s");
    graph_.SetDisplayAverage(true);  // (10 + 1250) / 10 and (20 + 125000) / 10
    graph_.RenderGraph(320, 240);
    EXPECT_EQ(graph_.ULabel(), L"\u25B2 0.1 kB/s");
    EXPECT_EQ(graph_.DLabel(), L"\u25BC 12.5 kB/s");
}

TEST_F(GraphLabelsTest, MaximumLabelLagsAutoscaleByOneRender) {
    struct Step {
        std::uint64_t addUpload;
        const wchar_t* label;
        std::uint64_t max;
    };
    buffer_.Add(0, 1000);
    for (const Step& step : {Step{0, L"MAX: 0.0 kb/s", 1000}, Step{0, L"MAX: 8.0 kb/s", 1000},
                             Step{2000, L"MAX: 8.0 kb/s", 2000}, Step{0, L"MAX: 16.0 kb/s", 2000}}) {
        if (step.addUpload) buffer_.Add(step.addUpload, 0);
        graph_.RenderGraph(320, 240);
        EXPECT_EQ(graph_.MVLabel(), step.label);
        EXPECT_EQ(graph_.MaxValue(), step.max);
    }
}

TEST_F(GraphLabelsTest, InterfaceNameIsDrawnLastBesideTheColumnOrAtColumn6WithoutIt) {
    graph_.SetIFLabel(L"eth0");
    for (auto [height, left] : {std::pair{240, 20 + 6}, {60, 6}}) {  // 60: too low for the maximum even at 8 pt
        SCOPED_TRACE(height);
        text_.ClearCalls();
        graph_.RenderGraph(320, height);
        const FixedTextRenderer::Call& last = text_.Calls().back();
        EXPECT_EQ(last.text, L"eth0");
        EXPECT_EQ(std::pair(last.x, last.y), std::pair(left, 2));
        EXPECT_EQ(last.font.color, static_cast<Color>(GR_DefaultColors.IF_Font));
        EXPECT_EQ(LastPlaceOf(graph_.MVLabel()) == std::pair(-1, -1), height == 60);
    }
}

// The labels are fitted in the order 1, 2, 3, so each is drawn after its
// own font is chosen again, not in the last one fitted.
TEST_F(GraphLabelsTest, EachLabelIsDrawnInItsOwnFace) {
    GR_Fonts fonts = GR_DefaultFonts;
    fonts[kUDLabel].Name = L"Rates";
    fonts[kMVLabel].Name = L"Maximum";
    fonts[kIFLabel].Name = L"Interface";
    graph_.SetLabelFonts(fonts);
    graph_.SetIFLabel(L"eth0");
    graph_.RenderGraph(320, 240);
    const std::pair<std::wstring, std::wstring> expected[] = {
        {graph_.DLabel(), L"Rates"},
        {graph_.ULabel(), L"Rates"},
        {graph_.MVLabel(), L"Maximum"},
        {L"eth0", L"Interface"},
    };
    for (const auto& [text, face] : expected) {
        const auto& calls = text_.Calls();
        const auto drawn = std::ranges::find(calls, text, &FixedTextRenderer::Call::text);
        ASSERT_NE(drawn, calls.end()) << "a label is not drawn";
        EXPECT_EQ(drawn->font.name, face);
    }
}

TEST_F(GraphLabelsTest, StripColumnAndTextsAreWhereTheLayoutPutsThem) {
    const GR_ColorType& c = graph_.Colors();
    graph_.RenderGraph(320, 240);
    const Bitmap& picture = graph_.RenderBitmap();
    // Strip: rows 220..239; column: columns 0..19 above it.
    EXPECT_EQ(picture.Pixel(0, 239), static_cast<Color>(c.PN_BkGr));
    EXPECT_EQ(picture.Pixel(319, 220), static_cast<Color>(c.PN_BkGr));
    EXPECT_EQ(picture.Pixel(0, 219), static_cast<Color>(c.MV_BkGr));
    EXPECT_EQ(picture.Pixel(19, 0), static_cast<Color>(c.MV_BkGr));
    EXPECT_NE(picture.Pixel(21, 0), static_cast<Color>(c.MV_BkGr));
    EXPECT_EQ(graph_.DrawnGraphArea(), (GraphArea{20, 0, 320, 220})) << "the bars' area, which the readout reads";

    EXPECT_EQ(LastPlaceOf(graph_.DLabel()), std::pair(160 - 60 - 4, 222));  // "▼ 0.0 kb/s" is 10 letters
    EXPECT_EQ(LastPlaceOf(graph_.ULabel()), std::pair(164, 222));
    EXPECT_EQ(picture.Pixel(96 + 1, 222 + 1), static_cast<Color>(c.PN_DL));   // first glyph block
    EXPECT_EQ(picture.Pixel(164 + 1, 222 + 1), static_cast<Color>(c.PN_UL));
    EXPECT_EQ(LastPlaceOf(graph_.MVLabel()), std::pair(2, 6 * 14 + 2));  // " MAX: 0.0 kb/s" is 14 letters
    EXPECT_EQ(picture.Pixel(2 + 1, 86 - 1), static_cast<Color>(c.MV_Font));  // reads upward from there
}

}  // namespace
}  // namespace orvalet
