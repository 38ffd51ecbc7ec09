#include "rendering/traffic_graph.h"

#include <algorithm>

#include "base/rounding.h"
#include "rendering/color_ramp.h"
#include "rendering/traffic_format.h"
#include "sampling/traffic_buffer.h"

namespace orvalet {
namespace {

constexpr int kHorizontalGridLines = 9;  // ten bands of nearly equal height
constexpr std::size_t kLabelTextRoom = 32;

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

// Row of horizontal grid line k (1..9) in a graph area `rows` high.
int HorizontalGridRow(int rows, int k) { return Round(rows / 10.0 * k); }

// Index of the oldest of n values a graph area that wide shows; n when it
// shows none.
int FirstVisibleValue(int n, int graphWidth) { return graphWidth < n ? n - std::max(graphWidth, 0) : 0; }

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
    : FRenderBitmap(text.CreatePixelStorage()), FCanvas(FRenderBitmap, text) {
    FGradientColorTable = FillGradientTable(FStyle.colors);
    // Room for the longest rate and maximum texts ("MAX: 147,573,952.5897
    // Tb/s" has 27 characters), so that texts growing with the traffic never
    // make a render allocate.
    for (PictureInputs* inputs : {&FShownInputs, &FCandidateInputs})
        for (std::wstring* text : {&inputs->uLabel, &inputs->dLabel, &inputs->mvLabel}) text->reserve(kLabelTextRoom);
    for (std::wstring* text : {&FULabel, &FDLabel, &FMVLabel}) text->reserve(kLabelTextRoom);
}

void TTrafficGraph::SetStyle(const GraphStyle& style) {
    if (style.colors != FStyle.colors) FGradientColorTable = FillGradientTable(style.colors);
    FStyle = style;
}

void TTrafficGraph::SetColors(const GR_ColorType& colors) {
    FStyle.colors = colors;
    FGradientColorTable = FillGradientTable(colors);
}

void TTrafficGraph::UpdateLabels() {
    const History history{FTrafficBuffer};
    const bool average = FStyle.displayAverage;
    const LabelSources sources{history.NewestUpload(average), history.NewestDownload(average), FMaxValue,
                               FStyle.udDisplayUnit, FStyle.mvDisplayUnit, UserNumberFormatGeneration()};
    if (FLabelSources == sources) return;
    WriteUploadLabelText(FULabel, sources.upload, sources.udDisplayUnit);
    WriteDownloadLabelText(FDLabel, sources.download, sources.udDisplayUnit);
    WriteMaxValueLabelText(FMVLabel, FMaxValue, sources.mvDisplayUnit);
    FLabelSources = sources;
}

std::optional<LabelRates> TTrafficGraph::RatesOfLabels() const {
    if (!FLabelSources) return std::nullopt;
    return LabelRates{FLabelSources->upload, FLabelSources->download, FLabelSources->udDisplayUnit};
}

LabelContent TTrafficGraph::Labels() const {
    return LabelContent{FULabel, FDLabel, FMVLabel, FIFLabel, &FStyle.labelFonts, FStyle.showLabel,
                        FStyle.fontAutosize};
}

// The labels are rebuilt before autoscaling, so with Autoscale on the
// maximum label shows the scale of the previous render.
void TTrafficGraph::RenderGraph(int width, int height) {
    if (!FGraphEnabled) return;
    UpdateLabels();
    CaptureInputs(FCandidateInputs, width, height);
    RememberPicture(Draw(FCandidateInputs.width, FCandidateInputs.height));
}

bool TTrafficGraph::RenderGraphIfChanged(int width, int height) {
    if (!FGraphEnabled) return false;
    UpdateLabels();
    CaptureInputs(FCandidateInputs, width, height);
    // Equal inputs give the same layout, so the graph area has the width it
    // had and the autoscale step scans the same stretch of the history.
    if (FPictureShown && FCandidateInputs == FShownInputs) {
        ScaleToShownValues(FShownGraphWidth);
        if (FMaxValue == FShownMaxValue && ShowsTheSameValues(FShownGraphWidth)) return false;
    }
    RememberPicture(Draw(FCandidateInputs.width, FCandidateInputs.height));
    return true;
}

void TTrafficGraph::CaptureInputs(PictureInputs& inputs, int width, int height) const {
    inputs.width = std::max(width, 0);
    inputs.height = std::max(height, 0);
    inputs.dpi = FMetrics.dpi;
    inputs.buffer = FTrafficBuffer;
    inputs.bufferLen = History{FTrafficBuffer}.Length();
    inputs.style = FStyle;
    inputs.uLabel.assign(FULabel);
    inputs.dLabel.assign(FDLabel);
    inputs.mvLabel.assign(FMVLabel);
    inputs.ifLabel.assign(FIFLabel);
}

// The values in the columns of a graph area that wide; the columns left of
// the oldest value show none.
bool TTrafficGraph::ShowsTheSameValues(int graphWidth) const {
    const int n = History{FTrafficBuffer}.Length();
    const int first = FirstVisibleValue(n, graphWidth);
    if (static_cast<std::size_t>(n - first) != FShownUploads.size()) return false;
    if (n == 0) return true;
    return std::equal(FShownUploads.begin(), FShownUploads.end(), FTrafficBuffer->UploadBuffer().begin() + first) &&
           std::equal(FShownDownloads.begin(), FShownDownloads.end(), FTrafficBuffer->DownloadBuffer().begin() + first);
}

void TTrafficGraph::RememberPicture(int graphWidth) {
    std::swap(FShownInputs, FCandidateInputs);
    FPictureShown = true;
    FShownGraphWidth = graphWidth;
    FShownMaxValue = FMaxValue;
    const int n = History{FTrafficBuffer}.Length();
    const int first = FirstVisibleValue(n, graphWidth);
    FShownUploads.clear();
    FShownDownloads.clear();
    if (n == 0) return;
    FShownUploads.assign(FTrafficBuffer->UploadBuffer().begin() + first, FTrafficBuffer->UploadBuffer().begin() + n);
    FShownDownloads.assign(FTrafficBuffer->DownloadBuffer().begin() + first,
                           FTrafficBuffer->DownloadBuffer().begin() + n);
}

// With Autoscale the scale's maximum is the largest value the graph area
// shows, its width being the number of newest values it holds.
void TTrafficGraph::ScaleToShownValues(int graphWidth) {
    if (FStyle.autoscale) FMaxValue = History{FTrafficBuffer}.MaxOfNewest(graphWidth);
}

// Steps after the label texts; returns the width of the graph area.
int TTrafficGraph::Draw(int w, int h) {
    FRenderBitmap.SetSize(w, h);
    FCanvas.SetBrushColor(0);
    FCanvas.SetPenStyle(PenStyle::Solid);

    const LabelContent labels = Labels();
    const LabelLayout layout = LayOutLabels(FCanvas, labels, w, h, FMetrics);
    const GraphArea graph{layout.C, 0, w, h - layout.S};
    FGraphArea = graph;

    const History history{FTrafficBuffer};
    FMaxWidth = history.Length() + layout.C;
    ScaleToShownValues(graph.Width());

    if (layout.Shown[kUDLabel]) DrawUpDownStrip(FCanvas, labels, layout, FStyle.colors, w, h, FMetrics);
    if (layout.Shown[kMVLabel]) DrawMaxValueColumn(FCanvas, labels, layout, FStyle.colors, h, FMetrics);
    if (graph.Width() > 0 && graph.Height() > 0) DrawGraphArea(graph, labels, layout);
    return graph.Width();
}

// The graph area is composed one row at a time: the background, bars and
// grids of a row are decided per span and written once, left to right, so
// a large graph costs little more than filling its rows.
void TTrafficGraph::DrawGraphArea(const GraphArea& g, const LabelContent& labels, const LabelLayout& layout) {
    PrepareRowBackgrounds(g);
    const int tallest = FMaxValue != 0 ? PrepareBars(g) : 0;
    ComposeRows(g, tallest);
    if (FStyle.showHorGrid) DrawGridRowsBelow(g);
    if (layout.Shown[kIFLabel]) DrawInterfaceName(FCanvas, labels, layout, FStyle.colors, FMetrics);
}

// 256 bands of equal height, so a graph lower than 256 pixels shows only
// some of the colours (bands that round to no rows paint nothing). The nine
// horizontal grid rows are marked here too; they cover the bars.
void TTrafficGraph::PrepareRowBackgrounds(const GraphArea& g) {
    const int rows = g.Height();
    FRowColors.resize(static_cast<std::size_t>(rows));
    FGridRows.assign(static_cast<std::size_t>(rows), 0);
    if (FStyle.useGradient) {
        const double step = rows / static_cast<double>(kGradientBands);
        for (int i = 0; i < kGradientBands; ++i) {
            const std::uint32_t color = Bitmap::ToMemory(FGradientColorTable[static_cast<std::size_t>(i)]);
            const int top = std::max(Round(step * i), 0);
            const int bottom = std::min(Round(step * (i + 1)), rows);
            for (int y = top; y < bottom; ++y) FRowColors[static_cast<std::size_t>(y)] = color;
        }
    } else {
        std::fill(FRowColors.begin(), FRowColors.end(), Bitmap::ToMemory(ToColor(FStyle.colors.GR_BkGr1)));
    }
    if (!FStyle.showHorGrid) return;
    for (int k = 1; k <= kHorizontalGridLines; ++k) {
        const int y = HorizontalGridRow(rows, k);
        if (y >= 0 && y < rows) FGridRows[static_cast<std::size_t>(y)] = 1;
    }
}

// Bar extents per column of the graph area, counted in rows up from its
// bottom: rows below `low` are GR_UpDn, rows below `high` the excess colour.
// Columns left of the oldest value keep the background (extent 0). Returns
// the tallest bar.
int TTrafficGraph::PrepareBars(const GraphArea& g) {
    const int columns = g.Width();
    FBarLow.assign(static_cast<std::size_t>(columns), 0);
    FBarHigh.assign(static_cast<std::size_t>(columns), 0);
    FBarColors.resize(static_cast<std::size_t>(columns));
    const std::uint32_t upload = Bitmap::ToMemory(ToColor(FStyle.colors.GR_Upload));
    const std::uint32_t download = Bitmap::ToMemory(ToColor(FStyle.colors.GR_Download));
    const History history{FTrafficBuffer};
    const int n = history.Length();
    const int first = FirstVisibleValue(n, columns);
    int tallest = 0;
    for (int i = first; i < n; ++i) {
        const int up = BarHeight(history.Upload(i), FMaxValue, g.Height());
        const int down = BarHeight(history.Download(i), FMaxValue, g.Height());
        const auto c = static_cast<std::size_t>(columns - n + i);
        FBarLow[c] = std::min(up, down);
        FBarHigh[c] = std::max(up, down);
        FBarColors[c] = up > down ? upload : download;
        tallest = std::max(tallest, FBarHigh[c]);
    }
    return tallest;
}

void TTrafficGraph::ComposeRows(const GraphArea& g, int tallest) {
    const std::uint32_t grid = Bitmap::ToMemory(ToColor(FStyle.colors.GR_Grid));
    const std::uint32_t both = Bitmap::ToMemory(ToColor(FStyle.colors.GR_UpDn));
    const int columns = g.Width();
    for (int y = g.top; y < g.bottom; ++y) {
        std::uint32_t* row = FRenderBitmap.Row(y) + g.left;
        const auto r = static_cast<std::size_t>(y - g.top);
        const int level = g.bottom - 1 - y;  // rows between this one and the bottom
        if (FGridRows[r]) {
            std::fill(row, row + columns, grid);
        } else if (level >= tallest) {
            std::fill(row, row + columns, FRowColors[r]);
        } else {
            ComposeBarRow(row, columns, level, FRowColors[r], both);
        }
        DrawVerticalGridDots(row, columns, y - g.top, grid);
    }
}

// One row crossing the bars, `level` rows above the bottom of the graph
// area. Selected with masks rather than branches: bar edges are as good as
// random, and a branch-free loop lets the compiler work on several pixels
// at once.
void TTrafficGraph::ComposeBarRow(std::uint32_t* row, int columns, int level, std::uint32_t background,
                                  std::uint32_t both) const {
    const std::int32_t* low = FBarLow.data();
    const std::int32_t* high = FBarHigh.data();
    const std::uint32_t* excess = FBarColors.data();
    for (int c = 0; c < columns; ++c) {
        const std::uint32_t inBar = 0u - static_cast<std::uint32_t>(level < high[c]);
        const std::uint32_t inBoth = 0u - static_cast<std::uint32_t>(level < low[c]);
        const std::uint32_t bar = background ^ ((excess[c] ^ background) & inBar);
        row[c] = bar ^ ((both ^ bar) & inBoth);
    }
}

// Dotted lines from the top of the graph area down to its bottom, counted
// from the right edge so they stay put while the bars scroll beneath them.
// The gaps keep what lies beneath.
void TTrafficGraph::DrawVerticalGridDots(std::uint32_t* row, int columns, int step, std::uint32_t grid) const {
    if (FStyle.graphVertGrid <= 0 || !IsDotDrawn(step)) return;
    const std::int64_t distance = FStyle.graphVertGrid;
    for (std::int64_t c = columns - distance; c >= 0; c -= distance) row[c] = grid;
}

// A grid row can round to the row just below a very low graph area; it is
// drawn there too, over the top row of the upload/download strip.
void TTrafficGraph::DrawGridRowsBelow(const GraphArea& g) {
    FCanvas.SetBrushColor(ToColor(FStyle.colors.GR_Grid));
    for (int k = 1; k <= kHorizontalGridLines; ++k) {
        const int y = HorizontalGridRow(g.Height(), k);
        if (y >= g.Height()) FCanvas.FillRect(g.left, g.top + y, g.right, g.top + y + 1);
    }
}

}  // namespace orvalet
