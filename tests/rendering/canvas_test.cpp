#include "rendering/canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "support/fixed_text_renderer.h"

namespace orvalet {
namespace {

constexpr Color kPaper = 0x00102030;
constexpr Color kInk = 0x00C0FFEE;
using Pixels = std::vector<std::string>;

// Every pixel of a rectangle, as "x,y" in row-major order.
Pixels Rect(int left, int top, int right, int bottom) {
    Pixels result;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) result.push_back(std::to_string(x) + "," + std::to_string(y));
    return result;
}

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
        canvas.SetPenStyle(PenStyle::Solid);
    }

    // The inked pixels of a bitmap as "x,y" strings in row-major order.
    static Pixels Inked(const Bitmap& b, int left = 0, int top = 0) {
        Pixels result;
        for (int y = top; y < b.Height(); ++y)
            for (int x = left; x < b.Width(); ++x)
                if (b.Pixel(x, y) == kInk) result.push_back(std::to_string(x - left) + "," + std::to_string(y - top));
        return result;
    }

    testing::FixedTextRenderer text;
    Bitmap bitmap;
    Canvas canvas{bitmap, text};
};

TEST(Bitmap, StoresBbggrrAsBgr0InMemoryAndCopiesOnlyBetweenEqualSizes) {
    Bitmap source, same, other;
    source.SetSize(4, 3);
    same.SetSize(4, 3);
    other.SetSize(3, 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) source.SetPixel(x, y, static_cast<Color>(y * 16 + x));
    source.SetPixel(2, 1, 0x00112233);
    EXPECT_EQ(source.Pixel(2, 1), 0x00112233u);
    EXPECT_EQ(source.Row(1)[2], 0x00332211u);
    source.SetPixel(4, 1, 0x00FFFFFF);  // outside: ignored, and reads as 0
    source.SetPixel(-1, 0, 0x00FFFFFF);
    EXPECT_EQ(source.Pixel(0, 2), 0x20u);  // where a row-overflowing write would land
    EXPECT_EQ(source.Pixel(4, 1), 0u);
    EXPECT_EQ(source.Pixel(0, 3), 0u);

    other.SetPixel(0, 0, 0x00ABCDEF);
    EXPECT_TRUE(same.CopyFrom(source));
    EXPECT_EQ(same.Pixel(3, 2), 0x23u);
    EXPECT_EQ(same.Pixel(2, 1), 0x00112233u);
    EXPECT_FALSE(other.CopyFrom(source));
    EXPECT_EQ(other.Pixel(0, 0), 0x00ABCDEFu);
}

TEST(Bitmap, NegativeOrZeroSizesGiveAnEmptyBitmap) {
    Bitmap bitmap, other;
    bitmap.SetSize(-5, 4);
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 4);
    EXPECT_FALSE(bitmap.Contains(0, 0));
    bitmap.SetPixel(0, 0, 1);  // must not write anywhere
    other.SetSize(0, 4);
    EXPECT_TRUE(other.CopyFrom(bitmap));
    other.SetSize(7, 0);
    EXPECT_FALSE(other.Contains(0, 0));
    EXPECT_FALSE(other.CopyFrom(bitmap));
}

TEST_F(CanvasTest, DrawsExactlyTheExpectedPixels) {
    struct Case {
        const char* what;
        void (*draw)(Canvas&);
        Pixels inked;
    };
    const Case cases[] = {
        {"rectangle: left, top inclusive; right, bottom exclusive",
         [](Canvas& c) { c.SetBrushColor(kInk), c.FillRect(2, 3, 4, 5); }, Rect(2, 3, 4, 5)},
        {"empty and inverted rectangles",
         [](Canvas& c) {
             c.SetBrushColor(kInk);
             c.FillRect(3, 3, 3, 6), c.FillRect(2, 5, 6, 5), c.FillRect(6, 2, 2, 6), c.FillRect(2, 6, 6, 2);
         },
         {}},
        {"rectangle clipped", [](Canvas& c) { c.SetBrushColor(kInk), c.FillRect(-100, 6, 1000, 1000); },
         Rect(0, 6, 10, 8)},
        {"huge rectangle", [](Canvas& c) { c.SetBrushColor(kInk), c.FillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX); },
         Rect(0, 0, 10, 8)},
        {"line leaves out its end point", [](Canvas& c) { c.Line(1, 1, 4, 1); }, {"1,1", "2,1", "3,1"}},
        {"upward line", [](Canvas& c) { c.Line(2, 5, 2, 2); }, {"2,3", "2,4", "2,5"}},
        {"equal end points", [](Canvas& c) { c.Line(3, 3, 3, 3); }, {}},
        {"LineTo continues from the last end",
         [](Canvas& c) { c.MoveTo(0, 0), c.LineTo(3, 0), c.LineTo(3, 2); }, {"0,0", "1,0", "2,0", "3,0", "3,1"}},
        {"diagonal", [](Canvas& c) { c.Line(0, 0, 4, 4); }, {"0,0", "1,1", "2,2", "3,3"}},
        {"shallow", [](Canvas& c) { c.Line(0, 0, 6, 2); }, {"0,0", "1,0", "2,1", "3,1", "4,1", "5,2"}},
        {"bar far above the scale", [](Canvas& c) { c.Line(2, 7, 2, INT_MIN); }, Rect(2, 0, 3, 8)},
        {"huge lines outside",
         [](Canvas& c) { c.Line(INT_MIN, -5, INT_MAX, -5), c.Line(INT_MIN, INT_MIN, INT_MAX, INT_MIN + 7); }, {}},
        {"every dotted line starts with a dot",
         [](Canvas& c) { c.SetPenStyle(PenStyle::Dotted), c.MoveTo(0, 0), c.LineTo(4, 0), c.LineTo(4, 5); },
         {"0,0", "1,0", "2,0", "4,0", "4,1", "4,2"}},
        {"dotted pattern counts from the start when clipped",
         [](Canvas& c) { c.SetPenStyle(PenStyle::Dotted), c.Line(-4, 0, 10, 0); },  // 4, 5 off; 6, 7, 8 on
         {"2,0", "3,0", "4,0", "8,0", "9,0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Clear();
        c.draw(canvas);
        EXPECT_EQ(Inked(bitmap), c.inked);
    }
}

TEST_F(CanvasTest, LinesAreClippedWithoutShiftingTheirPixels) {
    canvas.Line(-30, -10, 9, 3);
    Bitmap wide;
    wide.SetSize(40, 18);
    Canvas reference(wide, text);
    reference.SetPenColor(kInk);
    reference.Line(0, 0, 39, 13);
    const Pixels expected = Inked(wide, 30, 10);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(Inked(bitmap), expected);
}

TEST_F(CanvasTest, DottedGapsKeepThePixelsBeneath) {
    bitmap.SetPixel(1, 4, 0x00000001);
    canvas.SetBrushClear();
    canvas.SetPenStyle(PenStyle::Dotted);
    canvas.Line(1, 0, 1, 13);
    std::string column;
    for (int y = 0; y < 8; ++y) {
        const Color p = bitmap.Pixel(1, y);
        column += p == kInk ? '#' : p == kPaper ? '.' : 'o';
    }
    EXPECT_EQ(column, "###.o.##");
}

TEST_F(CanvasTest, TextGoesThroughTheRendererWithBrushAndFont) {
    const TextFont font{L"Tahoma", 10, true, false, kInk, 0};
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
    EXPECT_EQ(std::pair(text.Calls()[1].x, text.Calls()[1].y), std::pair(3, 4));
}

}  // namespace
}  // namespace orvalet
