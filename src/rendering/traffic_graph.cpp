#include "rendering/traffic_graph.h"

#include <algorithm>

#include "base/rounding.h"
#include "rendering/color_ramp.h"
#include "sampling/traffic_buffer.h"

namespace orvalet {
namespace {

constexpr int kHorizontalGridLines = 9;  // ten bands of nearly equal height

// Bar height in pixels for a value against the scale maximum (not 0). The
// order of the operations is part of the result: with ties rounding to even,
// a value of a quarter of the maximum in a 50-pixel graph gives 12 pixels.
// A bar taller than the graph is cut at the top anyway, so heights are
// capped there, which also keeps values far above the scale in range.
int BarHeight(std::uint64_t value, std::uint64_t maxValue, int graphHeight) {
    const double height = (graphHeight / 100.0) * (static_cast<double>(value) / static_cast<double>(maxValue)) * 100;
    return static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(height), 0, graphHeight));
}

int Round(double x) { return static_cast<int>(RoundHalfEven(x)); }

// Read access to the history that also covers a graph without one.
struct History {
    const TTrafficBuffer* buffer;

    int Length() const { return buffer ? std::max(buffer->BufferLen(), 0) : 0; }
    std::uint64_t Upload(int i) const { return buffer->UploadBuffer()[static_cast<std::size_t>(i)]; }
    std::uint64_t Download(int i) const { return buffer->DownloadBuffer()[static_cast<std::size_t>(i)]; }
    std::uint64_t MaxOfNewest(int count) const { return buffer ? buffer->GetMaxValue(count) : 0; }
    std::uint64_t NewestUpload(bool average) const {
        return !buffer ? 0 : average ? buffer->UploadAV() : buffer->Upload();
    }
    std::uint64_t NewestDownload(bool average) const {
        return !buffer ? 0 : average ? buffer->DownloadAV() : buffer->Download();
    }
};

}  // namespace

std::array<Color, kGradientBands> FillGradientTable(const GR_ColorType& colors) {
    const Color top = ToColor(colors.GR_BkGr1);
    const Color bottom = ToColor(colors.GR_BkGr2);
    std::array<Color, kGradientBands> table{};
    for (int i = 0; i < kGradientBands; ++i)
        table[static_cast<std::size_t>(i)] = RampColor(top, bottom, kGradientBands, i);
    return table;
}

TTrafficGraph::TTrafficGraph(TextRenderer& text)
    : bitmap_(text.CreatePixelStorage()), canvas_(bitmap_, text) {
    gradient_ = FillGradientTable(colors_);
}

void TTrafficGraph::SetColors(const GR_ColorType& colors) {
    colors_ = colors;
    gradient_ = FillGradientTable(colors_);
}

void TTrafficGraph::UpdateLabels() {
    const History history{trafficBuffer_};
    uLabel_ = UploadLabelText(history.NewestUpload(displayAverage_), udDisplayUnit_);
    dLabel_ = DownloadLabelText(history.NewestDownload(displayAverage_), udDisplayUnit_);
    mvLabel_ = MaxValueLabelText(maxValue_, mvDisplayUnit_);
}

LabelContent TTrafficGraph::Labels() const {
    return LabelContent{uLabel_, dLabel_, mvLabel_, ifLabel_, &labelFonts_, showLabel_, fontAutosize_};
}

// The labels are rebuilt before autoscaling, so with Autoscale on the
// maximum label shows the scale of the previous render.
void TTrafficGraph::RenderGraph(int width, int height) {
    if (!graphEnabled_) return;
    const int w = std::max(width, 0);
    const int h = std::max(height, 0);
    bitmap_.SetSize(w, h);
    canvas_.SetBrushColor(0);
    canvas_.SetPenStyle(PenStyle::Solid);

    UpdateLabels();
    const LabelContent labels = Labels();
    const LabelLayout layout = LayOutLabels(canvas_, labels, w, h, metrics_);
    const Area graph{layout.C, 0, w, h - layout.S};

    const History history{trafficBuffer_};
    maxWidth_ = history.Length() + layout.C;
    if (autoscale_) maxValue_ = history.MaxOfNewest(graph.Width());

    if (layout.Shown[kUDLabel]) DrawUpDownStrip(canvas_, labels, layout, colors_, w, h, metrics_);
    if (layout.Shown[kMVLabel]) DrawMaxValueColumn(canvas_, labels, layout, colors_, h, metrics_);
    if (graph.Width() > 0 && graph.Height() > 0) DrawGraphArea(graph, labels, layout);
}

void TTrafficGraph::DrawGraphArea(const Area& g, const LabelContent& labels, const LabelLayout& layout) {
    DrawBackground(g);
    if (maxValue_ != 0) DrawBars(g);
    if (showHorGrid_) DrawHorizontalGrid(g);
    if (graphVertGrid_ > 0) DrawVerticalGrid(g);
    if (layout.Shown[kIFLabel]) DrawInterfaceName(canvas_, labels, layout, colors_, metrics_);
}

// 256 bands of equal height, so a graph lower than 256 pixels shows only
// some of the colours (bands that round to no rows paint nothing).
void TTrafficGraph::DrawBackground(const Area& g) {
    if (!useGradient_) {
        canvas_.SetBrushColor(ToColor(colors_.GR_BkGr1));
        canvas_.FillRect(g.left, g.top, g.right, g.bottom);
        return;
    }
    const double step = g.Height() / static_cast<double>(kGradientBands);
    for (int i = 0; i < kGradientBands; ++i) {
        canvas_.SetBrushColor(gradient_[static_cast<std::size_t>(i)]);
        canvas_.FillRect(g.left, Round(step * i), g.right, Round(step * (i + 1)));
    }
}

// The newest value is in the rightmost column; when the graph is wider than
// the history the columns at the left keep the background.
void TTrafficGraph::DrawBars(const Area& g) {
    const History history{trafficBuffer_};
    const int n = history.Length();
    const int first = g.Width() < n ? n - g.Width() : 0;
    for (int i = first; i < n; ++i) {
        const int up = BarHeight(history.Upload(i), maxValue_, g.Height());
        const int down = BarHeight(history.Download(i), maxValue_, g.Height());
        DrawBar(g.right - n + i, g.bottom, up, down);
    }
}

// The part both values reach is GR_UpDn; the excess of the larger one is
// drawn above it in that value's colour. Bars and grid lines are one pixel
// wide or high, so they are filled as rectangles: the same pixels as a line
// that leaves out its end point, without walking a line per pixel.
void TTrafficGraph::DrawBar(int x, int bottom, int up, int down) {
    if (up == 0 && down == 0) return;
    const int lo = std::min(up, down);
    const int hi = std::max(up, down);
    canvas_.SetBrushColor(ToColor(colors_.GR_UpDn));
    canvas_.FillRect(x, bottom - lo, x + 1, bottom);
    if (up == down) return;
    canvas_.SetBrushColor(ToColor(up > down ? colors_.GR_Upload : colors_.GR_Download));
    canvas_.FillRect(x, bottom - hi, x + 1, bottom - lo);
}

void TTrafficGraph::DrawHorizontalGrid(const Area& g) {
    canvas_.SetBrushColor(ToColor(colors_.GR_Grid));
    for (int k = 1; k <= kHorizontalGridLines; ++k) {
        const int y = Round(g.Height() / 10.0 * k);
        canvas_.FillRect(g.left, y, g.right, y + 1);
    }
}

// Counted from the right edge, so the lines stay put while the bars scroll
// beneath them.
void TTrafficGraph::DrawVerticalGrid(const Area& g) {
    canvas_.SetBrushClear();
    canvas_.SetPenStyle(PenStyle::Dotted);
    canvas_.SetPenColor(ToColor(colors_.GR_Grid));
    const std::int64_t distance = graphVertGrid_;
    for (std::int64_t x = g.right - distance; x >= g.left; x -= distance) {
        const int column = static_cast<int>(x);
        canvas_.Line(column, g.top, column, g.bottom);
    }
    canvas_.SetPenStyle(PenStyle::Solid);
}

}  // namespace orvalet
