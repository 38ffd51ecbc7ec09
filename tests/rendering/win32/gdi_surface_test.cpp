#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "rendering/canvas.h"
#include "rendering/win32/dib_pixel_storage_win.h"
#include "rendering/win32/surface_win.h"
#include "rendering/win32/text_renderer_win.h"

namespace orvalet::win32 {
namespace {

constexpr Color kPaper = 0x00204060;
constexpr Color kInk = 0x00FFFFFF;

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // inclusive
    bool empty() const { return left > right; }
};

// The bounding box of every pixel that differs from `paper`.
Box InkBox(const Bitmap& bitmap, Color paper) {
    Box box;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixel(x, y) != paper) {
                box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
            }
    return box;
}

class GdiSurfaceTest : public ::testing::Test {
protected:
    GdiSurfaceTest() : bitmap(text.CreatePixelStorage()) {
        bitmap.SetSize(160, 160);
        canvas.SetBrushColor(kPaper);
        canvas.FillRect(0, 0, 160, 160);
        canvas.SetBrushClear();
    }

    GdiTextRenderer text;
    Bitmap bitmap;
    Canvas canvas{bitmap, text};
};

TEST_F(GdiSurfaceTest, BitmapPixelsAreTheDibSectionsPixels) {
    const HDC dc = DibPixelStorage::DCOf(bitmap);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(::GetPixel(dc, 5, 7), static_cast<COLORREF>(kPaper));
    bitmap.SetPixel(5, 7, 0x00123456);
    EXPECT_EQ(::GetPixel(dc, 5, 7), 0x00123456u);
    ::SetPixelV(dc, 6, 7, RGB(1, 2, 3));
    ::GdiFlush();
    EXPECT_EQ(bitmap.Pixel(6, 7), static_cast<Color>(RGB(1, 2, 3)));

    bitmap.SetSize(0, 0);
    EXPECT_EQ(DibPixelStorage::DCOf(bitmap), nullptr);
    canvas.DrawTextAt(0, 0, L"nothing to draw into");  // must not fault
}

TEST_F(GdiSurfaceTest, UprightTextLandsInsideItsCell) {
    canvas.SetFont(TextFont{L"Tahoma", 12, false, false, kInk, 0});
    const int width = canvas.TextWidth(L"Wg8");
    const int height = canvas.TextHeight(L"Wg8");
    EXPECT_GT(width, 10);
    EXPECT_GT(height, 10);
    canvas.DrawTextAt(30, 40, L"Wg8");
    const Box box = InkBox(bitmap, kPaper);
    ASSERT_FALSE(box.empty());
    EXPECT_GE(box.left, 30);
    EXPECT_LE(box.right, 30 + width);
    EXPECT_GE(box.top, 40);
    EXPECT_LT(box.bottom, 40 + height);
    EXPECT_GT(box.right - box.left, width / 2);  // the glyphs really spread along the text
}

TEST_F(GdiSurfaceTest, TurnedTextReadsUpwardFromItsCorner) {
    const TextFont upright{L"Tahoma", 12, true, false, kInk, 0};
    TextFont turned = upright;
    turned.orientation = 900;
    canvas.SetFont(turned);
    const int width = canvas.TextWidth(L"MAX: 1.0 kb/s");
    const int height = canvas.TextHeight(L"MAX: 1.0 kb/s");
    EXPECT_EQ(width, text.TextWidth(upright, L"MAX: 1.0 kb/s"));  // the advance along the text
    EXPECT_EQ(height, text.TextHeight(upright, L"MAX: 1.0 kb/s"));
    ASSERT_LT(width, 150);

    canvas.DrawTextAt(20, 155, L"MAX: 1.0 kb/s");
    const Box box = InkBox(bitmap, kPaper);
    ASSERT_FALSE(box.empty());
    EXPECT_GE(box.left, 20);
    EXPECT_LE(box.right, 20 + height);
    EXPECT_GE(box.top, 155 - width);
    EXPECT_LE(box.bottom, 155);
    EXPECT_GT(box.bottom - box.top, width / 2);  // long side vertical
}

TEST_F(GdiSurfaceTest, TextWithASolidBrushFillsItsCell) {
    canvas.SetFont(TextFont{L"Default", 10, false, true, kInk, 0});
    canvas.SetBrushColor(0x00000080);
    canvas.DrawTextAt(10, 10, L"ab");
    const int width = canvas.TextWidth(L"ab");
    const int height = canvas.TextHeight(L"ab");
    EXPECT_EQ(bitmap.Pixel(10, 10), 0x00000080u);
    EXPECT_EQ(bitmap.Pixel(10 + width - 1, 10 + height - 1), 0x00000080u);
    EXPECT_EQ(bitmap.Pixel(10 + width, 10), kPaper);
    EXPECT_EQ(bitmap.Pixel(10, 10 + height), kPaper);
}

TEST(GdiTextRenderer, LogFontFollowsTheFontAndTheDpi) {
    const LOGFONTW lf = GdiTextRenderer::LogFontOf(TextFont{L"Tahoma", 10, true, true, 0, 900}, 144);
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfOrientation, 900);
    EXPECT_EQ(lf.lfQuality, DEFAULT_QUALITY);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");

    LOGFONTW stock{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    EXPECT_STREQ(GdiTextRenderer::LogFontOf(TextFont{L"Default", 10}, 96).lfFaceName, stock.lfFaceName);
    EXPECT_STREQ(GdiTextRenderer::LogFontOf(TextFont{L"default", 10}, 96).lfFaceName, stock.lfFaceName);
    EXPECT_EQ(GdiTextRenderer::LogFontOf(TextFont{L"Tahoma", 10}, 96).lfHeight, -13);
}

// The portable dotted pen must put its dots where GDI's cosmetic PS_DOT pen
// does, and keep the gaps like a transparent background does.
TEST(DottedPen, MatchesGdiCosmeticDots) {
    GdiTextRenderer text;
    Bitmap ours(text.CreatePixelStorage());
    Bitmap gdi(text.CreatePixelStorage());
    for (Bitmap* b : {&ours, &gdi}) {
        b->SetSize(40, 40);
        Canvas c(*b, text);
        c.SetBrushColor(kPaper);
        c.FillRect(0, 0, 40, 40);
    }
    struct Segment {
        int x0, y0, x1, y1;
    };
    const Segment segments[] = {{3, 0, 3, 37}, {5, 39, 5, 2}, {0, 10, 33, 10}, {39, 20, 1, 20}, {-7, 30, 40, 30}};

    Canvas canvas(ours, text);
    canvas.SetBrushClear();
    canvas.SetPenStyle(PenStyle::Dotted);
    canvas.SetPenColor(kInk);
    for (const Segment& s : segments) canvas.Line(s.x0, s.y0, s.x1, s.y1);

    const HDC dc = DibPixelStorage::DCOf(gdi);
    UniquePen pen(::CreatePen(PS_DOT, 1, static_cast<COLORREF>(kInk)));
    const auto selected = Select(dc, pen.get());
    ::SetBkMode(dc, TRANSPARENT);
    for (const Segment& s : segments) {
        ::MoveToEx(dc, s.x0, s.y0, nullptr);
        ::LineTo(dc, s.x1, s.y1);
    }
    ::GdiFlush();

    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(ours.Pixel(x, y), gdi.Pixel(x, y)) << x << "," << y;
}

TEST(CopyToDC, CopiesEveryPixelFromDibAndFromPlainMemory) {
    GdiTextRenderer text;
    Bitmap dib(text.CreatePixelStorage());
    Bitmap plain;
    for (Bitmap* b : {&dib, &plain}) {
        b->SetSize(7, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) b->SetPixel(x, y, static_cast<Color>(RGB(x * 30, y * 40, 200)));
    }
    for (const Bitmap* b : {&dib, &plain}) {
        Bitmap screen(text.CreatePixelStorage());
        screen.SetSize(9, 9);
        CopyToDC(*b, DibPixelStorage::DCOf(screen));
        ::GdiFlush();
        EXPECT_EQ(screen.Pixel(0, 0), b->Pixel(0, 0));
        EXPECT_EQ(screen.Pixel(6, 4), b->Pixel(6, 4));
        EXPECT_EQ(screen.Pixel(3, 2), static_cast<Color>(RGB(90, 80, 200)));
        EXPECT_EQ(screen.Pixel(7, 4), 0u);
        EXPECT_EQ(screen.Pixel(6, 5), 0u);
    }
}

TEST(InstalledFontNames, HoldsDefaultAndEachFamilyOnceInCaseInsensitiveOrder) {
    const std::vector<std::wstring> names = InstalledFontNames();
    ASSERT_GT(names.size(), 1u);
    EXPECT_NE(std::find(names.begin(), names.end(), L"Default"), names.end());
    for (std::size_t i = 1; i < names.size(); ++i) {
        EXPECT_FALSE(names[i].empty());
        EXPECT_EQ(::CompareStringOrdinal(names[i - 1].c_str(), -1, names[i].c_str(), -1, TRUE) == CSTR_EQUAL,
                  false)
            << "twice: " << std::string(names[i].begin(), names[i].end());
        EXPECT_LE(::CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, names[i - 1].c_str(), -1,
                                    names[i].c_str(), -1, nullptr, nullptr, 0),
                  CSTR_LESS_THAN)
            << i;
    }
}

}  // namespace
}  // namespace orvalet::win32
