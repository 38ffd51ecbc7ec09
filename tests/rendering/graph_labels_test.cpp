#include "rendering/graph_labels.h"

#include <gtest/gtest.h>

#include "rendering/traffic_graph.h"
#include "sampling/traffic_buffer.h"
#include "support/fixed_text_renderer.h"

namespace orvalet {
namespace {

using testing::FixedTextRenderer;

int Cell(int points) { return FixedTextRenderer::CellHeight(TextFont{L"", points}); }

// Layout of texts in a control, measured with the fixed renderer (a 10 point
// letter is 6 pixels wide, its cell 16 high).
class LabelLayoutTest : public ::testing::Test {
protected:
    LabelLayoutTest() {
        labels_.ULabel = up_;
        labels_.DLabel = down_;
        labels_.MVLabel = max_;
        labels_.IFLabel = name_;
        labels_.Fonts = &fonts_;
        labels_.Wanted = {false, true, true, true};
        labels_.FontAutosize = false;
    }

    void SetAllSizes(int points) {
        for (int k = 1; k <= 3; ++k) fonts_[k].Size = points;
    }

    LabelLayout Lay(int w, int h, LabelMetrics metrics = {}) {
        return LayOutLabels(canvas_, labels_, w, h, metrics);
    }

    FixedTextRenderer text_;
    Bitmap bitmap_;
    Canvas canvas_{bitmap_, text_};
    GR_Fonts fonts_ = GR_DefaultFonts;
    std::wstring up_ = L"up";
    std::wstring down_ = L"down";
    std::wstring max_ = L"MAX";
    std::wstring name_ = L"eth0";
    LabelContent labels_;
};

TEST_F(LabelLayoutTest, RateTextsAreHiddenTogetherWhenEitherLacksRoom) {
    down_ = std::wstring(8, L'd');  // 48 pixels: XD = 50 - 48 - 4 = -2
    labels_.DLabel = down_;
    LabelLayout layout = Lay(100, 200);
    EXPECT_FALSE(layout.Shown[kUDLabel]);  // although the short upload text fits
    EXPECT_EQ(layout.S, 0);

    down_ = std::wstring(7, L'd');  // 42 pixels: XD = 4
    labels_.DLabel = down_;
    layout = Lay(100, 200);
    EXPECT_TRUE(layout.Shown[kUDLabel]);
    EXPECT_EQ(layout.XD, 4);
    EXPECT_EQ(layout.XU, 54);

    up_ = std::wstring(8, L'u');  // 54 + 48 + 2 = 104 > 100
    labels_.ULabel = up_;
    EXPECT_FALSE(Lay(100, 200).Shown[kUDLabel]);
}

TEST_F(LabelLayoutTest, DownloadTextNeedsThreePixelsAtTheLeft) {
    down_ = std::wstring(7, L'd');
    labels_.DLabel = down_;
    EXPECT_TRUE(Lay(98, 200).Shown[kUDLabel]);   // XD = 49 - 42 - 4 = 3
    EXPECT_FALSE(Lay(96, 200).Shown[kUDLabel]);  // XD = 2
}

TEST_F(LabelLayoutTest, StripAndColumnFollowTheLetterHeightNotTheTexts) {
    fonts_[kUDLabel].Size = 20;
    fonts_[kMVLabel].Size = 12;
    LabelLayout layout = Lay(400, 400);
    EXPECT_EQ(layout.S, Cell(20) + 4);
    EXPECT_EQ(layout.C, Cell(12) + 4);

    up_.clear();
    down_.clear();
    labels_.ULabel = up_;
    labels_.DLabel = down_;
    EXPECT_EQ(Lay(400, 400).S, Cell(20) + 4);
}

TEST_F(LabelLayoutTest, UnwantedLabelsTakeNoRoom) {
    labels_.Wanted = {false, false, false, false};
    const LabelLayout layout = Lay(400, 400);
    EXPECT_EQ(layout.S, 0);
    EXPECT_EQ(layout.C, 0);
    EXPECT_EQ(layout.T, 0);
    EXPECT_FALSE(layout.Shown[1] || layout.Shown[2] || layout.Shown[3]);
}

TEST_F(LabelLayoutTest, MaximumLabelIsFittedBesideTheStripLabel1Left) {
    // " MAX " is 30 pixels; with the 20-pixel strip it needs 30 + 20 + 4 rows.
    EXPECT_TRUE(Lay(400, 54).Shown[kMVLabel]);
    EXPECT_FALSE(Lay(400, 53).Shown[kMVLabel]);
    labels_.Wanted[kUDLabel] = false;
    EXPECT_TRUE(Lay(400, 53).Shown[kMVLabel]);
}

TEST_F(LabelLayoutTest, ColumnWiderThanTheControlIsDropped) {
    labels_.Wanted = {false, false, true, false};
    EXPECT_EQ(Lay(20, 400).C, 20);
    const LabelLayout narrow = Lay(19, 400);
    EXPECT_FALSE(narrow.Shown[kMVLabel]);
    EXPECT_EQ(narrow.C, 0);
}

TEST_F(LabelLayoutTest, InterfaceNameNeedsRoomBesideTheColumnAndAboveTheStrip) {
    // 20 (column) + 24 (name) + 8 = 52
    EXPECT_TRUE(Lay(200, 400).Shown[kIFLabel]);
    labels_.Wanted[kUDLabel] = false;
    EXPECT_TRUE(Lay(52, 400).Shown[kIFLabel]);
    EXPECT_FALSE(Lay(51, 400).Shown[kIFLabel]);

    labels_.Wanted = {false, true, false, true};
    const LabelLayout low = Lay(400, 39);  // T 20 + S 20 > 39
    EXPECT_TRUE(low.Shown[kUDLabel]);
    EXPECT_FALSE(low.Shown[kIFLabel]);
    EXPECT_EQ(low.T, 0);
    EXPECT_TRUE(Lay(400, 40).Shown[kIFLabel]);
}

TEST_F(LabelLayoutTest, StripTallerThanTheControlIsDropped) {
    labels_.Wanted = {false, true, false, false};
    EXPECT_EQ(Lay(400, 20).S, 20);
    EXPECT_EQ(Lay(400, 19).S, 0);
}

TEST(FontSizeTable, NearestSizeWithTiesToTheSmaller) {
    auto nearest = [](int size) { return GR_FontSizes[static_cast<std::size_t>(NearestFontSizePosition(size))]; };
    EXPECT_EQ(nearest(13), 12);
    EXPECT_EQ(nearest(15), 14);
    EXPECT_EQ(nearest(32), 28);
    EXPECT_EQ(nearest(60), 48);
    EXPECT_EQ(nearest(100), 72);
    EXPECT_EQ(nearest(5), 8);
    EXPECT_EQ(nearest(-2147483647 - 1), 8);
    EXPECT_EQ(nearest(2147483647), 72);
    for (int size : GR_FontSizes) EXPECT_EQ(nearest(size), size);
}

TEST_F(LabelLayoutTest, AutosizeStartsAtTheNearestTableSize) {
    labels_.FontAutosize = true;
    for (auto [configured, first] : {std::pair{13, 12}, {15, 14}, {32, 28}, {60, 48}, {100, 72}, {5, 8}}) {
        SetAllSizes(configured);
        const LabelLayout layout = Lay(4000, 4000);
        for (int k = 1; k <= 3; ++k) {
            EXPECT_TRUE(layout.Shown[k]);
            EXPECT_EQ(layout.Size[k], first) << "configured " << configured << ", label " << k;
        }
    }
}

TEST_F(LabelLayoutTest, AutosizeTakesTheLargestSizeThatFits) {
    labels_.FontAutosize = true;
    labels_.Wanted = {false, false, true, false};
    fonts_[kMVLabel].Size = 72;
    // " MAX " is 5 letters: 5 * (s / 2 + 1) + 4 <= 64 first holds at 22 (60 + 4).
    const LabelLayout layout = Lay(400, 64);
    EXPECT_TRUE(layout.Shown[kMVLabel]);
    EXPECT_EQ(layout.Size[kMVLabel], 22);
    EXPECT_EQ(layout.C, Cell(22) + 4);
    EXPECT_EQ(fonts_[kMVLabel].Size, 72);  // the configured size stays
}

TEST_F(LabelLayoutTest, SizeBelowTheTableIsKeptOnlyWithoutAutosize) {
    SetAllSizes(6);
    labels_.Wanted = {false, true, false, false};
    down_ = std::wstring(10, L'd');  // 40 pixels at 6 points, 50 at 8
    up_ = std::wstring(10, L'u');
    labels_.DLabel = down_;
    labels_.ULabel = up_;

    const LabelLayout fixed = Lay(100, 100);
    EXPECT_TRUE(fixed.Shown[kUDLabel]);
    EXPECT_EQ(fixed.Size[kUDLabel], 6);
    EXPECT_EQ(fixed.S, Cell(6) + 4);

    labels_.FontAutosize = true;
    const LabelLayout autosized = Lay(100, 100);
    EXPECT_FALSE(autosized.Shown[kUDLabel]);
    EXPECT_EQ(autosized.Size[kUDLabel], 8);
    EXPECT_EQ(autosized.S, 0);
}

TEST_F(LabelLayoutTest, LaterLabelsAreFittedWithTheFinalSizesOfEarlierOnes) {
    labels_.FontAutosize = true;
    SetAllSizes(72);
    down_ = std::wstring(8, L'd');  // fits from 9 points down (XD = 50 - 40 - 4)
    labels_.DLabel = down_;
    const LabelLayout layout = Lay(100, 400);
    EXPECT_EQ(layout.Size[kUDLabel], 9);
    EXPECT_EQ(layout.S, Cell(9) + 4);
    EXPECT_EQ(layout.XD, 6);
    // At 72 points the column (113) is wider than the control; at 48 it is 77.
    EXPECT_EQ(layout.Size[kMVLabel], 48);
    EXPECT_EQ(layout.C, 77);
    // Beside a 77-pixel column "eth0" never fits; fitted against the C of a
    // rejected try it would.
    EXPECT_FALSE(layout.Shown[kIFLabel]);
    EXPECT_EQ(layout.Size[kIFLabel], 8);
}

TEST_F(LabelLayoutTest, MarginsGrowWithTheDpi) {
    const LabelLayout layout = Lay(200, 200, LabelMetrics{192});
    EXPECT_EQ(layout.XU, 100 + 8);
    EXPECT_EQ(layout.S, Cell(10) + 8);
}

class LabelDrawingTest : public LabelLayoutTest {
protected:
    const FixedTextRenderer::Call& Call(std::size_t i) const { return text_.Calls().at(i); }
};

TEST_F(LabelDrawingTest, OutlinedTextDrawsFourOutlinesThenTheTextWithoutBackground) {
    bitmap_.SetSize(50, 50);
    canvas_.SetBrushColor(0x00FFFFFF);
    DrawOutlinedText(canvas_, 10, 20, L"ab", 0x00000011, 0x00000022);
    ASSERT_EQ(text_.Calls().size(), 5u);
    const std::pair<int, int> outline[] = {{9, 20}, {11, 20}, {10, 19}, {10, 21}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(std::pair(Call(i).x, Call(i).y), outline[i]);
        EXPECT_EQ(Call(i).font.color, 0x00000022u);
    }
    EXPECT_EQ(std::pair(Call(4).x, Call(4).y), std::pair(10, 20));
    EXPECT_EQ(Call(4).font.color, 0x00000011u);
    for (const auto& call : text_.Calls()) EXPECT_FALSE(call.hasBackground);
    // The text's own colour wins where outline and text overlap.
    EXPECT_EQ(bitmap_.Pixel(11, 22), 0x00000011u);
}

TEST_F(LabelDrawingTest, LabelFontTakesFaceAndStyleAndTurnsOnlyTheMaximumLabel) {
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

    const FixedTextRenderer::Call* LastCallFor(const std::wstring& text) const {
        const FixedTextRenderer::Call* found = nullptr;
        for (const auto& call : text_.Calls())
            if (call.text == text) found = &call;
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
    buffer_.Add(0, 1000);
    graph_.RenderGraph(320, 240);
    EXPECT_EQ(graph_.MVLabel(), L"MAX: 0.0 kb/s");
    EXPECT_EQ(graph_.MaxValue(), 1000u);
    graph_.RenderGraph(320, 240);
    EXPECT_EQ(graph_.MVLabel(), L"MAX: 8.0 kb/s");

    buffer_.Add(2000, 0);
    graph_.RenderGraph(320, 240);
    EXPECT_EQ(graph_.MVLabel(), L"MAX: 8.0 kb/s");
    EXPECT_EQ(graph_.MaxValue(), 2000u);
    graph_.RenderGraph(320, 240);
    EXPECT_EQ(graph_.MVLabel(), L"MAX: 16.0 kb/s");
}

TEST_F(GraphLabelsTest, InterfaceNameSitsBesideTheColumnOrAtColumn6WithoutIt) {
    graph_.SetIFLabel(L"eth0");
    graph_.RenderGraph(320, 240);
    const auto* name = LastCallFor(L"eth0");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::pair(name->x, name->y), std::pair(20 + 6, 2));
    EXPECT_EQ(name->font.color, static_cast<Color>(GR_DefaultColors.IF_Font));

    text_.ClearCalls();
    graph_.RenderGraph(320, 60);  // too low for the maximum label even at 8 points
    name = LastCallFor(L"eth0");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::pair(name->x, name->y), std::pair(6, 2));
    EXPECT_EQ(LastCallFor(graph_.MVLabel()), nullptr);
    EXPECT_EQ(text_.Calls().back().text, L"eth0");  // drawn last, over the graph
}

TEST_F(GraphLabelsTest, StripColumnAndTextsAreWhereTheLayoutPutsThem) {
    const GR_ColorType& c = graph_.Colors();
    graph_.SetIFLabel(L"eth0");
    graph_.RenderGraph(320, 240);
    const Bitmap& picture = graph_.RenderBitmap();
    // Strip: rows 220..239; column: columns 0..19 above it.
    EXPECT_EQ(picture.Pixel(0, 239), static_cast<Color>(c.PN_BkGr));
    EXPECT_EQ(picture.Pixel(319, 220), static_cast<Color>(c.PN_BkGr));
    EXPECT_EQ(picture.Pixel(0, 219), static_cast<Color>(c.MV_BkGr));
    EXPECT_EQ(picture.Pixel(19, 0), static_cast<Color>(c.MV_BkGr));
    EXPECT_NE(picture.Pixel(21, 0), static_cast<Color>(c.MV_BkGr));  // column 20 has a grid line

    const auto* down = LastCallFor(graph_.DLabel());
    const auto* up = LastCallFor(graph_.ULabel());
    ASSERT_TRUE(down && up);
    EXPECT_EQ(std::pair(down->x, down->y), std::pair(160 - 60 - 4, 222));  // "▼ 0.0 kb/s" is 10 letters
    EXPECT_EQ(std::pair(up->x, up->y), std::pair(164, 222));
    EXPECT_EQ(up->font.color, static_cast<Color>(c.PN_UL));
    EXPECT_EQ(picture.Pixel(96 + 1, 222 + 1), static_cast<Color>(c.PN_DL));  // first glyph block

    const auto* max = LastCallFor(graph_.MVLabel());
    ASSERT_NE(max, nullptr);
    EXPECT_EQ(std::pair(max->x, max->y), std::pair(2, 6 * 14 + 2));  // " MAX: 0.0 kb/s" is 14 letters
    EXPECT_EQ(max->font.orientation, 900);
    EXPECT_EQ(picture.Pixel(2 + 1, 86 - 1), static_cast<Color>(c.MV_Font));
}

}  // namespace
}  // namespace orvalet
