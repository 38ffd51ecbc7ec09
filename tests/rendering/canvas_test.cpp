#include "rendering/canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "support/fixed_text_renderer.h"

namespace orvalet {
namespace {

constexpr Color kPaper = 0x00102030;
constexpr Color kInk = 0x00C0FFEE;

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest() {
        bitmap.SetSize(10, 8);
        Clear();
    }

    void Clear() {
        canvas.SetBrushColor(kPaper);
        canvas.FillRect(0, 0, bitmap.Width(), bitmap.Height());
        canvas.SetPenColor(kInk);
    }

    // The inked pixels as "x,y" strings in row-major order.
    std::vector<std::string> Inked() const {
        std::vector<std::string> result;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (bitmap.Pixel(x, y) == kInk) result.push_back(std::to_string(x) + "," + std::to_string(y));
        return result;
    }

    int CountOf(Color color) const {
        int count = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) count += bitmap.Pixel(x, y) == color;
        return count;
    }

    testing::FixedTextRenderer text;
    Bitmap bitmap;
    Canvas canvas{bitmap, text};
};

using Pixels = std::vector<std::string>;

TEST(Bitmap, StoresColoursAsBbggrrAndIgnoresPixelsOutside) {
    Bitmap bitmap;
    bitmap.SetSize(3, 2);
    bitmap.SetPixel(2, 1, 0x00112233);
    EXPECT_EQ(bitmap.Pixel(2, 1), 0x00112233u);
    EXPECT_EQ(bitmap.Row(1)[2], 0x00332211u);  // in memory B, G, R, 0: 0x00RRGGBB

    bitmap.SetPixel(3, 1, 0x00FFFFFF);
    bitmap.SetPixel(-1, 0, 0x00FFFFFF);
    EXPECT_EQ(bitmap.Pixel(3, 1), 0u);
    EXPECT_EQ(bitmap.Pixel(0, 2), 0u);
}

TEST(Bitmap, NegativeOrZeroSizesGiveAnEmptyBitmap) {
    Bitmap bitmap;
    bitmap.SetSize(-5, 4);
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 4);
    EXPECT_FALSE(bitmap.Contains(0, 0));
    bitmap.SetPixel(0, 0, 1);  // must not write anywhere

    Bitmap other;
    other.SetSize(0, 4);
    EXPECT_TRUE(other.CopyFrom(bitmap));
    other.SetSize(7, 0);
    EXPECT_FALSE(other.Contains(0, 0));
    EXPECT_FALSE(other.CopyFrom(bitmap));
}

TEST(Bitmap, CopiesOnlyBetweenBitmapsOfTheSameSize) {
    Bitmap source, same, other;
    source.SetSize(4, 3);
    same.SetSize(4, 3);
    other.SetSize(3, 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) source.SetPixel(x, y, static_cast<Color>(y * 16 + x));
    other.SetPixel(0, 0, 0x00ABCDEF);

    EXPECT_TRUE(same.CopyFrom(source));
    EXPECT_EQ(same.Pixel(3, 2), 0x23u);
    EXPECT_EQ(same.Pixel(1, 1), 0x11u);
    EXPECT_FALSE(other.CopyFrom(source));
    EXPECT_EQ(other.Pixel(0, 0), 0x00ABCDEFu);
}

TEST_F(CanvasTest, FillRectCoversLeftTopInclusiveRightBottomExclusive) {
    canvas.SetBrushColor(kInk);
    canvas.FillRect(2, 3, 4, 5);
    EXPECT_EQ(Inked(), (Pixels{"2,3", "3,3", "2,4", "3,4"}));
}

TEST_F(CanvasTest, EmptyAndInvertedRectanglesFillNothing) {
    canvas.SetBrushColor(kInk);
    canvas.FillRect(3, 3, 3, 6);
    canvas.FillRect(2, 5, 6, 5);
    canvas.FillRect(6, 2, 2, 6);
    canvas.FillRect(2, 6, 6, 2);
    EXPECT_TRUE(Inked().empty());
}

TEST_F(CanvasTest, FillRectIsClippedToTheBitmap) {
    canvas.SetBrushColor(kInk);
    canvas.FillRect(-100, 6, 1000, 1000);
    EXPECT_EQ(CountOf(kInk), 20);
    canvas.FillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(CountOf(kInk), 80);
}

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint) {
    canvas.Line(1, 1, 4, 1);
    EXPECT_EQ(Inked(), (Pixels{"1,1", "2,1", "3,1"}));
    Clear();
    canvas.Line(2, 5, 2, 2);  // upward: rows 5, 4, 3
    EXPECT_EQ(Inked(), (Pixels{"2,3", "2,4", "2,5"}));
}

TEST_F(CanvasTest, EqualEndPointsDrawNothing) {
    canvas.Line(3, 3, 3, 3);
    EXPECT_TRUE(Inked().empty());
}

TEST_F(CanvasTest, LineToContinuesFromTheLastEndPoint) {
    canvas.MoveTo(0, 0);
    canvas.LineTo(3, 0);
    canvas.LineTo(3, 2);
    EXPECT_EQ(Inked(), (Pixels{"0,0", "1,0", "2,0", "3,0", "3,1"}));
}

TEST_F(CanvasTest, DiagonalAndShallowLinesStepOnePixelPerColumn) {
    canvas.Line(0, 0, 4, 4);
    EXPECT_EQ(Inked(), (Pixels{"0,0", "1,1", "2,2", "3,3"}));
    Clear();
    canvas.Line(0, 0, 6, 2);
    EXPECT_EQ(Inked().size(), 6u);
    EXPECT_EQ(bitmap.Pixel(0, 0), kInk);
    EXPECT_EQ(bitmap.Pixel(5, 2), kInk);
}

TEST_F(CanvasTest, LinesAreClippedWithoutShiftingTheirPixels) {
    // The same line, once inside and once starting far outside, must hit the
    // same pixels where it crosses the bitmap.
    canvas.Line(-30, -10, 9, 3);
    const Pixels clipped = Inked();
    Bitmap wide;
    wide.SetSize(60, 30);
    Canvas reference(wide, text);
    reference.SetPenColor(kInk);
    reference.Line(0, 0, 39, 13);
    Pixels expected;
    for (int y = 10; y < 18; ++y)
        for (int x = 30; x < 40; ++x)
            if (wide.Pixel(x, y) == kInk) expected.push_back(std::to_string(x - 30) + "," + std::to_string(y - 10));
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(clipped, expected);
}

TEST_F(CanvasTest, HugeLinesOutsideTouchNothingAndFinish) {
    canvas.Line(2, 7, 2, INT_MIN);  // a bar far above the scale
    EXPECT_EQ(CountOf(kInk), 8);
    Clear();
    canvas.Line(INT_MIN, -5, INT_MAX, -5);
    canvas.Line(INT_MIN, INT_MIN, INT_MAX, INT_MIN + 7);
    EXPECT_TRUE(Inked().empty());
}

TEST_F(CanvasTest, DottedLinesDrawThreeOnThreeOffAndKeepTheGaps) {
    Bitmap tall;
    tall.SetSize(3, 14);
    Canvas c(tall, text);
    c.SetBrushColor(kPaper);
    c.FillRect(0, 0, 3, 14);
    tall.SetPixel(1, 4, 0x00000001);  // lies in a gap and must survive
    c.SetBrushClear();
    c.SetPenStyle(PenStyle::Dotted);
    c.SetPenColor(kInk);
    c.Line(1, 0, 1, 13);
    std::string pattern;
    for (int y = 0; y < 14; ++y) {
        const Color p = tall.Pixel(1, y);
        pattern += p == kInk ? '#' : p == kPaper ? '.' : 'o';
    }
    EXPECT_EQ(pattern, "###.o.###...#.");
}

TEST_F(CanvasTest, EveryDottedLineStartsWithADot) {
    canvas.SetPenStyle(PenStyle::Dotted);
    canvas.MoveTo(0, 0);
    canvas.LineTo(4, 0);  // ###.
    canvas.LineTo(4, 5);  // ###..
    EXPECT_EQ(Inked(), (Pixels{"0,0", "1,0", "2,0", "4,0", "4,1", "4,2"}));
}

TEST_F(CanvasTest, DottedPatternCountsFromTheStartEvenWhenClipped) {
    canvas.SetPenStyle(PenStyle::Dotted);
    canvas.Line(-4, 0, 10, 0);  // steps 4, 5 off; 6, 7, 8 on ...
    EXPECT_EQ(Inked(), (Pixels{"2,0", "3,0", "4,0", "8,0", "9,0"}));
}

TEST_F(CanvasTest, TextGoesThroughTheRendererWithBrushAndFont) {
    TextFont font{L"Tahoma", 10, true, false, kInk, 0};
    canvas.SetFont(font);
    EXPECT_EQ(canvas.TextWidth(L"abc"), 18);
    EXPECT_EQ(canvas.TextHeight(L"abc"), 16);

    canvas.SetBrushColor(0x00000042);
    canvas.DrawTextAt(1, 2, L"a");
    canvas.SetBrushClear();
    canvas.DrawTextAt(3, 4, L"b");
    ASSERT_EQ(text.Calls().size(), 2u);
    EXPECT_TRUE(text.Calls()[0].hasBackground);
    EXPECT_EQ(text.Calls()[0].background, 0x00000042u);
    EXPECT_EQ(text.Calls()[0].font, font);
    EXPECT_FALSE(text.Calls()[1].hasBackground);
    EXPECT_EQ(text.Calls()[1].x, 3);
    EXPECT_EQ(text.Calls()[1].y, 4);
}

TEST(FixedTextRenderer, TurnedTextReadsUpwardFromItsCorner) {
    testing::FixedTextRenderer text;
    Bitmap bitmap;
    bitmap.SetSize(40, 40);
    const TextFont font{L"Default", 4, false, false, kInk, 900};  // A = 3, H = 7
    text.RenderText(bitmap, 10, 30, font, L"xy", nullptr);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (bitmap.Pixel(x, y) == kInk) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 11);  // rows v = 1 .. H - 2 of the cell become columns
    EXPECT_EQ(maxX, 15);
    EXPECT_EQ(maxY, 29);  // the first glyph sits just above the corner
    EXPECT_EQ(minY, 30 - 6 + 1);  // the last column of the last glyph stays empty
}

}  // namespace
}  // namespace orvalet
