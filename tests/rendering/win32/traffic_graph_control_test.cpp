#include "rendering/win32/traffic_graph_control_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "base/win32/unique_handle.h"
#include "rendering/graph_labels.h"
#include "sampling/traffic_buffer.h"
#include "support/bmp_file.h"

namespace orvalet::win32 {
namespace {

// Some irregular traffic: downloads mostly above uploads, now and then below.
void FillWithTraffic(TTrafficBuffer& buffer) {
    std::uint32_t noise = 12345;
    auto next = [&noise](std::uint32_t range) {
        noise = noise * 1103515245u + 12345u;
        return static_cast<std::uint64_t>((noise >> 8) % range);
    };
    for (int i = 0; i < buffer.BufferLen(); ++i) buffer.Add(10000 + next(40000), 20000 + next(120000));
}

int CountColor(const Bitmap& picture, std::int32_t color, RECT area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += picture.Pixel(x, y) == ToColor(color);
    return count;
}

// The graph with GDI text, and the layout it was drawn with, measured again
// with the same fonts.
class GdiGraphTest : public ::testing::Test {
protected:
    GdiGraphTest() {
        FillWithTraffic(buffer_);
        graph_.SetTrafficBuffer(&buffer_);
        graph_.SetIFLabel(L"Ethernet");
    }

    LabelLayout LayoutOfLastRender(int w, int h) {
        Bitmap scratch(text_.CreatePixelStorage());
        Canvas canvas(scratch, text_);
        const LabelContent labels{graph_.ULabel(), graph_.DLabel(), graph_.MVLabel(), graph_.IFLabel(),
                                  &graph_.LabelFonts(), {false, true, true, true}, true};
        return LayOutLabels(canvas, labels, w, h);
    }

    int Width(int k, const std::wstring& text, int size) {
        return text_.TextWidth(TextFont{graph_.LabelFonts()[k].Name, size}, text);
    }

    GdiTextRenderer text_;
    TTrafficBuffer buffer_;
    TTrafficGraph graph_{text_};
};

TEST_F(GdiGraphTest, DefaultGraphAt320x240PutsEveryPartWhereTheLayoutSays) {
    constexpr int W = 320, H = 240;
    graph_.RenderGraph(W, H);
    graph_.RenderGraph(W, H);  // the maximum label shows the scale found by the first
    const Bitmap& picture = graph_.RenderBitmap();
    const GR_ColorType& c = graph_.Colors();
    testing::SaveBmp(picture, ORVALET_TEST_OUTPUT_DIR "/traffic_graph_320x240.bmp");

    const LabelLayout layout = LayoutOfLastRender(W, H);
    ASSERT_TRUE(layout.Shown[kUDLabel] && layout.Shown[kMVLabel] && layout.Shown[kIFLabel]);
    const int s = layout.S, col = layout.C, textTop = H - s + 2;
    ASSERT_GT(s, 4);
    ASSERT_GT(col, 4);

    // Strip background at its corners, each rate text in its own half.
    EXPECT_EQ(picture.Pixel(0, H - 1), ToColor(c.PN_BkGr));
    EXPECT_EQ(picture.Pixel(W - 1, H - s), ToColor(c.PN_BkGr));
    const int dWidth = Width(kUDLabel, graph_.DLabel(), layout.Size[kUDLabel]);
    const int uWidth = Width(kUDLabel, graph_.ULabel(), layout.Size[kUDLabel]);
    EXPECT_GT(CountColor(picture, c.PN_DL, {layout.XD, textTop, layout.XD + dWidth, H}), 10);
    EXPECT_GT(CountColor(picture, c.PN_UL, {layout.XU, textTop, layout.XU + uWidth, H}), 10);
    EXPECT_EQ(CountColor(picture, c.PN_DL, {W / 2, H - s, W, H}), 0);
    EXPECT_EQ(CountColor(picture, c.PN_UL, {0, H - s, W / 2, H}), 0);

    // The maximum column along the left edge above the strip with its text,
    // the graph area right of it.
    EXPECT_EQ(picture.Pixel(0, 0), ToColor(c.MV_BkGr));
    EXPECT_EQ(picture.Pixel(col - 1, 0), ToColor(c.MV_BkGr));
    EXPECT_EQ(picture.Pixel(0, H - s - 1), ToColor(c.MV_BkGr));
    EXPECT_GT(CountColor(picture, c.MV_Font, {0, 0, col, H - s}), 10);
    EXPECT_EQ(CountColor(picture, c.MV_Outline, {col, 0, W, H - s}), 0);  // the text colour is also the bars'
    const bool gridAtColumn = (W - col) % graph_.GraphVertGrid() == 0;
    EXPECT_EQ(picture.Pixel(col, 0), gridAtColumn ? ToColor(c.GR_Grid) : graph_.GradientColorTable()[0]);

    // The interface name in the top-left corner of the graph area.
    const int nameWidth = Width(kIFLabel, graph_.IFLabel(), layout.Size[kIFLabel]);
    const int nameBottom = layout.T - 4 + 2;
    EXPECT_GT(CountColor(picture, c.IF_Font, {col + 6, 2, col + 6 + nameWidth, nameBottom}), 10);
    EXPECT_EQ(CountColor(picture, c.IF_Font, {col + 6 + nameWidth + 2, 0, W, H}), 0);
    EXPECT_EQ(CountColor(picture, c.IF_Font, {0, nameBottom + 2, W, H}), 0);
}

TEST_F(GdiGraphTest, DefaultFaceNameDrawsWithTheSystemGuiFont) {
    GR_Fonts fonts = GR_DefaultFonts;
    for (int k = 1; k <= 3; ++k) fonts[k].Name = L"Default";
    graph_.SetLabelFonts(fonts);
    graph_.RenderGraph(320, 240);
    const LabelLayout layout = LayoutOfLastRender(320, 240);
    ASSERT_TRUE(layout.Shown[kIFLabel]);
    EXPECT_GT(CountColor(graph_.RenderBitmap(), graph_.Colors().IF_Font, {layout.C, 0, 320, layout.T}), 10);
}

// A top-level window holding the control, as the meter does.
class GraphControlTest : public ::testing::Test {
protected:
    GraphControlTest() {
        parent_.reset(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr));
        control_.Create(parent_.get(), 0, 0, 320, 240);
        FillWithTraffic(buffer_);
        control_.Graph().SetTrafficBuffer(&buffer_);
    }

    SIZE ControlSize() const {
        RECT r{};
        ::GetWindowRect(control_.Handle(), &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    UniqueWindow parent_;
    TTrafficBuffer buffer_;
    TrafficGraphControl control_;
};

TEST_F(GraphControlTest, PaintRendersAtTheControlsSizeOnlyWhileEnabled) {
    ASSERT_NE(control_.Handle(), nullptr);
    control_.Graph().SetGraphEnabled(false);
    control_.Paint();
    ::UpdateWindow(control_.Handle());  // a pending WM_PAINT must not render either
    EXPECT_EQ(control_.Graph().ULabel(), L"---");
    EXPECT_EQ(control_.MaxWidth(), 0);

    control_.Graph().SetGraphEnabled(true);
    control_.Paint();
    EXPECT_NE(control_.Graph().ULabel(), L"---");
    EXPECT_EQ(control_.Graph().RenderBitmap().Width(), 320);
    EXPECT_EQ(control_.Graph().RenderBitmap().Height(), 240);
}

TEST_F(GraphControlTest, PaintIfChangedDrawsOnlyAPictureThatCanHaveChanged) {
    EXPECT_TRUE(control_.PaintIfChanged());
    EXPECT_TRUE(control_.PaintIfChanged());  // the maximum label now shows the scale the first found
    EXPECT_FALSE(control_.PaintIfChanged());
    buffer_.Add(0, 0);  // the history scrolls
    EXPECT_TRUE(control_.PaintIfChanged());
    control_.Graph().SetGraphEnabled(false);
    buffer_.Add(1, 1);
    EXPECT_FALSE(control_.PaintIfChanged());
}

TEST_F(GraphControlTest, ControlIsNeverWiderThanTheHistoryAndItsColumn) {
    control_.SetBounds(0, 0, 200, 240);
    control_.Paint();
    const int maxWidth = control_.MaxWidth();
    EXPECT_GT(maxWidth, 1800);
    EXPECT_LT(maxWidth, 1900);
    control_.SetBounds(0, 0, 3000, 240);
    EXPECT_EQ(ControlSize().cx, maxWidth);

    buffer_.SetBufferLen(100);  // a shorter history lowers the limit at the next paint
    control_.Paint();
    EXPECT_EQ(ControlSize().cx, control_.MaxWidth());
    EXPECT_LT(control_.MaxWidth(), 200);
}

TEST_F(GraphControlTest, MousePressesReachTheOwnerInClientCoordinates) {
    std::optional<std::tuple<MouseButton, int, int>> down, up;
    control_.SetOnMouseDown([&](MouseButton b, int x, int y) { down.emplace(b, x, y); });
    control_.SetOnMouseUp([&](MouseButton b, int x, int y) { up.emplace(b, x, y); });
    ::SendMessageW(control_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
    ::SendMessageW(control_.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(11, 13));
    EXPECT_EQ(down, std::make_tuple(MouseButton::Left, 5, 7));
    EXPECT_EQ(up, std::make_tuple(MouseButton::Right, 11, 13));
}

// The text of the readout's tooltip; empty while it is hidden.
std::wstring ShownReadout(const TrafficGraphControl& control) {
    wchar_t text[128] = {};
    if (::IsWindowVisible(control.ReadoutTip())) ::GetWindowTextW(control.ReadoutTip(), text, 128);
    return text;
}

TEST_F(GraphControlTest, TheReadoutShowsTheBarUnderARestingCursorUntilItLeavesOrPresses) {
    control_.Paint();
    const GraphArea area = control_.Graph().DrawnGraphArea();
    const auto send = [&](UINT message, int y = 0) {  // in the column of ten seconds ago
        ::SendMessageW(control_.Handle(), message, 0, MAKELPARAM(area.right - 11, y));
        return ShownReadout(control_);
    };
    EXPECT_EQ(send(WM_MOUSEMOVE), L"");
    EXPECT_EQ(control_.ReadoutTip(), nullptr) << "no tooltip before the cursor rests";
    const std::wstring shown = send(WM_MOUSEHOVER);
    EXPECT_EQ(shown.substr(0, 10), L"10 s ago\r\n");
    buffer_.Add(1, 2);
    control_.PaintIfChanged();
    EXPECT_NE(ShownReadout(control_), shown) << "the history scrolled under the cursor";
    EXPECT_EQ(send(WM_MOUSEMOVE, area.bottom), L"") << "the rate strip";
    EXPECT_NE(send(WM_MOUSEMOVE), L"") << "back over the bars";
    EXPECT_EQ(send(WM_LBUTTONDOWN), L"") << "a drag starts";
    EXPECT_EQ(send(WM_MOUSEMOVE), L"") << "until the cursor rests again";
    EXPECT_NE(send(WM_MOUSEHOVER), L"");
    // On a monitor of 144 DPI the graph is drawn anew, and the tip under the
    // resting cursor is made in the tooltips' font of that DPI (the same
    // points in whole pixels, so within one of 1.5 times).
    const auto tipFontHeight = [&] {
        LOGFONTW font{};
        const auto handle = reinterpret_cast<HFONT>(::SendMessageW(control_.ReadoutTip(), WM_GETFONT, 0, 0));
        return ::GetObjectW(handle, sizeof font, &font) ? std::abs(font.lfHeight) : 0;
    };
    const int at96 = tipFontHeight();
    control_.SetDpi(144);
    EXPECT_NE(ShownReadout(control_), L"");
    EXPECT_NEAR(tipFontHeight(), at96 * 1.5, 1) << at96;
    EXPECT_EQ(send(WM_MOUSELEAVE), L"");
    ::SetWindowLongPtrW(parent_.get(), GWL_EXSTYLE, WS_EX_LAYERED | WS_EX_TRANSPARENT);
    EXPECT_EQ(send(WM_MOUSEHOVER), L"") << "a click-through meter shows no readout";
}

}  // namespace
}  // namespace orvalet::win32
