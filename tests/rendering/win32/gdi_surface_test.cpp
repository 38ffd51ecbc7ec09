#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <string>

#include "rendering/canvas.h"
#include "rendering/traffic_graph.h"
#include "rendering/win32/dib_pixel_storage_win.h"
#include "rendering/win32/surface_win.h"
#include "rendering/win32/text_renderer_win.h"

namespace orvalet::win32 {
namespace {

constexpr Color kPaper = 0x00204060;
constexpr Color kInk = 0x00FFFFFF;

class GdiSurfaceTest : public ::testing::Test {
protected:
    GdiSurfaceTest() : bitmap(text.CreatePixelStorage()) {
        bitmap.SetSize(160, 160);
        Clear();
    }

    void Clear() {
        canvas.SetBrushColor(kPaper);
        canvas.FillRect(0, 0, 160, 160);
        canvas.SetBrushClear();
    }

    // The bounding box {left, top, right, bottom} (inclusive) of every pixel
    // that differs from the paper.
    std::array<int, 4> InkBox() const {
        std::array<int, 4> box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (bitmap.Pixel(x, y) != kPaper)
                    box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
        return box;
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

TEST_F(GdiSurfaceTest, TextLandsInsideItsCellUprightAndTurned) {
    const std::wstring sample = L"MAX: 1.0 kb/s";
    const TextFont upright{L"Tahoma", 12, true, false, kInk, 0};
    const int width = text.TextWidth(upright, sample);
    const int height = text.TextHeight(upright, sample);
    ASSERT_GT(height, 10);
    ASSERT_LT(width, 150);
    for (int orientation : {0, 900}) {
        SCOPED_TRACE(orientation);
        TextFont font = upright;
        font.orientation = orientation;
        canvas.SetFont(font);
        EXPECT_EQ(canvas.TextWidth(sample), width);  // measured along the text either way
        EXPECT_EQ(canvas.TextHeight(sample), height);
        Clear();
        const int x = 5, y = orientation ? 155 : 20;
        canvas.DrawTextAt(x, y, sample);
        const auto [left, top, right, bottom] = InkBox();
        ASSERT_LE(left, right);
        // Upright: columns x .. x + width, rows y .. y + height - 1; turned:
        // columns x .. x + height, rows y - width .. y. Either way the glyphs
        // really spread along the text.
        EXPECT_GE(left, x);
        EXPECT_LE(right, x + (orientation ? height : width));
        EXPECT_GE(top, orientation ? y - width : y);
        EXPECT_LE(bottom, orientation ? y : y + height - 1);
        EXPECT_GT(orientation ? bottom - top : right - left, width / 2);
    }
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
    EXPECT_EQ(std::pair(lf.lfEscapement, lf.lfOrientation), std::pair(900L, 900L));
    EXPECT_EQ(lf.lfQuality, DEFAULT_QUALITY);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(GdiTextRenderer::LogFontOf(TextFont{L"Tahoma", 10}, 96).lfHeight, -13);

    LOGFONTW stock{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    for (const wchar_t* name : {L"Default", L"default"})
        EXPECT_STREQ(GdiTextRenderer::LogFontOf(TextFont{name, 10}, 96).lfFaceName, stock.lfFaceName);
}

// Three labels stored at 72 points in a small graph: autosize walks each
// down through all sixteen table sizes, and still only the first paint
// creates fonts.
TEST(GdiTextRenderer, RepeatedAutosizeWalksCreateNoFontAfterTheFirstPaint) {
    GdiTextRenderer text;
    TTrafficGraph graph(text);
    GR_Fonts fonts = GR_DefaultFonts;
    for (int k = 1; k <= kLabelCount; ++k) fonts[k].Size = 72;
    graph.SetLabelFonts(fonts);
    graph.SetIFLabel(L"A rather long interface name that never fits");
    graph.RenderGraph(60, 40);
    const unsigned long created = text.FontsCreated();
    EXPECT_GE(created, 32u);
    for (int i = 0; i < 5; ++i) graph.RenderGraph(60, 40);
    EXPECT_EQ(text.FontsCreated(), created);
}

// The portable dotted pen must put its dots where GDI's cosmetic PS_DOT pen
// does, and keep the gaps like a transparent background does.
TEST(DottedPen, MatchesGdiCosmeticDots) {
    GdiTextRenderer text;
    Bitmap ours(text.CreatePixelStorage()), gdi(text.CreatePixelStorage());
    for (Bitmap* b : {&ours, &gdi}) {
        b->SetSize(40, 40);
        Canvas c(*b, text);
        c.SetBrushColor(kPaper);
        c.FillRect(0, 0, 40, 40);
    }
    const int segments[][4] = {{3, 0, 3, 37}, {5, 39, 5, 2}, {0, 10, 33, 10}, {39, 20, 1, 20}, {-7, 30, 40, 30}};
    Canvas canvas(ours, text);
    canvas.SetBrushClear();
    canvas.SetPenStyle(PenStyle::Dotted);
    canvas.SetPenColor(kInk);
    const HDC dc = DibPixelStorage::DCOf(gdi);
    UniquePen pen(::CreatePen(PS_DOT, 1, static_cast<COLORREF>(kInk)));
    const auto selected = Select(dc, pen.get());
    ::SetBkMode(dc, TRANSPARENT);
    for (const auto& s : segments) {
        canvas.Line(s[0], s[1], s[2], s[3]);
        ::MoveToEx(dc, s[0], s[1], nullptr);
        ::LineTo(dc, s[2], s[3]);
    }
    ::GdiFlush();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(ours.Pixel(x, y), gdi.Pixel(x, y)) << x << "," << y;
}

TEST(CopyToDC, CopiesEveryPixelFromDibAndFromPlainMemory) {
    GdiTextRenderer text;
    Bitmap dib(text.CreatePixelStorage()), plain;
    for (Bitmap* b : {&dib, &plain}) {
        b->SetSize(7, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) b->SetPixel(x, y, static_cast<Color>(RGB(x * 30, y * 40, 200)));
        Bitmap screen(text.CreatePixelStorage());
        screen.SetSize(9, 9);
        CopyToDC(*b, DibPixelStorage::DCOf(screen));
        ::GdiFlush();
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x) ASSERT_EQ(screen.Pixel(x, y), b->Pixel(x, y)) << x << "," << y;
    }
}

TEST(InstalledFontNames, HoldsDefaultAndEachFamilyOnceInCaseInsensitiveOrder) {
    const std::vector<std::wstring> names = InstalledFontNames();
    ASSERT_GT(names.size(), 1u);
    EXPECT_NE(std::find(names.begin(), names.end(), L"Default"), names.end());
    for (std::size_t i = 1; i < names.size(); ++i) {
        SCOPED_TRACE(std::string(names[i].begin(), names[i].end()));
        EXPECT_FALSE(names[i].empty());
        EXPECT_NE(::CompareStringOrdinal(names[i - 1].c_str(), -1, names[i].c_str(), -1, TRUE), CSTR_EQUAL);
        EXPECT_LE(::CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, names[i - 1].c_str(), -1,
                                    names[i].c_str(), -1, nullptr, nullptr, 0),
                  CSTR_LESS_THAN);
    }
}

}  // namespace
}  // namespace orvalet::win32
