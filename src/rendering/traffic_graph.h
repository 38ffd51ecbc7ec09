#pragma once
// The meter's bar graph: the traffic history as one pixel column per value,
// newest at the right, on a plain or gradient background with optional grids,
// scaled to a given maximum or to the visible values, with the three labels
// of graph_labels.h. Rendering is portable: it draws into the graph's own
// bitmap through the text renderer it is given, and a window copies that
// bitmap to the screen in one piece.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rendering/bitmap.h"
#include "rendering/canvas.h"
#include "rendering/graph_labels.h"
#include "rendering/graph_style.h"
#include "rendering/graph_types.h"
#include "rendering/rate_texts.h"
#include "rendering/text_renderer.h"

namespace orvalet {

class TTrafficBuffer;

inline constexpr int kGradientBands = 256;

// Where the bars are drawn: the control less the rate strip at the bottom and
// the maximum column at the left, in the control's pixels (right and bottom
// exclusive).
struct GraphArea {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const GraphArea&, const GraphArea&) = default;
};

// Band colours from top to bottom, GR_BkGr1 towards GR_BkGr2; entry 0 is
// GR_BkGr1 exactly.
std::array<Color, kGradientBands> FillGradientTable(const GR_ColorType& colors);

class TTrafficGraph {
public:
    // The text renderer must outlive the graph.
    explicit TTrafficGraph(TextRenderer& text);
    TTrafficGraph(const TTrafficGraph&) = delete;
    TTrafficGraph& operator=(const TTrafficGraph&) = delete;

    // Draws the whole picture for a control of width x height pixels into
    // RenderBitmap(), rebuilding the label texts first. Nothing is drawn
    // while GraphEnabled is false.
    void RenderGraph(int width, int height);
    // The same, except that when the picture cannot have changed since the
    // last render the bitmap keeps it untouched: the same size, style and
    // label texts, the same scale and the same values in the visible part of
    // the history. The label texts and the autoscaled maximum are brought up
    // to date either way. Returns whether it drew.
    bool RenderGraphIfChanged(int width, int height);
    const Bitmap& RenderBitmap() const { return FRenderBitmap; }

    // The widest the control may be: the history's length plus the maximum
    // column, so the graph area never has more columns than values. 0 until
    // the first render.
    int MaxWidth() const { return FMaxWidth; }
    // The graph area of the last render; empty until the first.
    const GraphArea& DrawnGraphArea() const { return FGraphArea; }

    // The history to draw; not owned. Without one the graph draws an empty
    // history.
    const TTrafficBuffer* TrafficBuffer() const { return FTrafficBuffer; }
    void SetTrafficBuffer(const TTrafficBuffer* buffer) { FTrafficBuffer = buffer; }

    // Every drawing option in one value. Setting new colours rebuilds the
    // gradient table at once.
    const GraphStyle& Style() const { return FStyle; }
    void SetStyle(const GraphStyle& style);

    // The options of the style one by one.
    const GR_ColorType& Colors() const { return FStyle.colors; }
    void SetColors(const GR_ColorType& colors);
    const GR_Fonts& LabelFonts() const { return FStyle.labelFonts; }
    void SetLabelFonts(const GR_Fonts& fonts) { FStyle.labelFonts = fonts; }
    bool ShowUDLabel() const { return FStyle.showLabel[kUDLabel]; }
    void SetShowUDLabel(bool show) { FStyle.showLabel[kUDLabel] = show; }
    bool ShowMVLabel() const { return FStyle.showLabel[kMVLabel]; }
    void SetShowMVLabel(bool show) { FStyle.showLabel[kMVLabel] = show; }
    void SetShowIFLabel(bool show) { FStyle.showLabel[kIFLabel] = show; }
    bool FontAutosize() const { return FStyle.fontAutosize; }
    void SetFontAutosize(bool autosize) { FStyle.fontAutosize = autosize; }
    bool Autoscale() const { return FStyle.autoscale; }
    void SetAutoscale(bool autoscale) { FStyle.autoscale = autoscale; }
    bool UseGradient() const { return FStyle.useGradient; }
    void SetUseGradient(bool use) { FStyle.useGradient = use; }
    bool ShowHorGrid() const { return FStyle.showHorGrid; }
    void SetShowHorGrid(bool show) { FStyle.showHorGrid = show; }
    std::int32_t GraphVertGrid() const { return FStyle.graphVertGrid; }
    void SetGraphVertGrid(std::int32_t distance) { FStyle.graphVertGrid = distance; }
    std::int32_t UDDisplayUnit() const { return FStyle.udDisplayUnit; }
    void SetUDDisplayUnit(std::int32_t unit) { FStyle.udDisplayUnit = unit; }
    void SetMVDisplayUnit(std::int32_t unit) { FStyle.mvDisplayUnit = unit; }
    void SetDisplayAverage(bool average) { FStyle.displayAverage = average; }

    const std::array<Color, kGradientBands>& GradientColorTable() const { return FGradientColorTable; }

    bool GraphEnabled() const { return FGraphEnabled; }
    void SetGraphEnabled(bool enabled) { FGraphEnabled = enabled; }

    // Texts built by the last render of an enabled graph ("---" before it).
    // Setting a text copies it into the graph's own storage.
    const std::wstring& ULabel() const { return FULabel; }
    void SetULabel(std::wstring_view text) {
        FULabel.assign(text);
        FLabelSources.reset();
    }
    const std::wstring& DLabel() const { return FDLabel; }
    const std::wstring& MVLabel() const { return FMVLabel; }
    // The rates the upload and download texts were written from; none
    // before the first render or after a text was set.
    std::optional<LabelRates> RatesOfLabels() const;
    // The interface name; only the caller changes it.
    const std::wstring& IFLabel() const { return FIFLabel; }
    void SetIFLabel(std::wstring_view text) { FIFLabel.assign(text); }

    // The value (bytes per tick) that fills the graph's height. With
    // Autoscale every render replaces it with the largest visible value.
    std::uint64_t MaxValue() const { return FMaxValue; }
    void SetMaxValue(std::uint64_t value) { FMaxValue = value; }

    // DPI of the window showing the graph; scales the label margins.
    int Dpi() const { return FMetrics.dpi; }
    void SetDpi(int dpi) { FMetrics.dpi = dpi > 0 ? dpi : 96; }

    // Rebuilds the upload, download and maximum label texts from the history
    // without drawing; every render does this as its first step.
    void UpdateLabels();

private:
    // Everything besides the history that the picture is drawn from: the
    // style as a whole and the state that is not style.
    struct PictureInputs {
        int width = -1, height = -1, dpi = 0;
        const TTrafficBuffer* buffer = nullptr;
        int bufferLen = 0;
        GraphStyle style;
        std::wstring uLabel, dLabel, mvLabel, ifLabel;

        friend bool operator==(const PictureInputs&, const PictureInputs&) = default;
    };

    void CaptureInputs(PictureInputs& inputs, int width, int height) const;
    bool ShowsTheSameValues(int graphWidth) const;
    void RememberPicture(int graphWidth);
    void ScaleToShownValues(int graphWidth);
    int Draw(int width, int height);
    LabelContent Labels() const;
    void DrawGraphArea(const GraphArea& g, const LabelContent& labels, const LabelLayout& layout);
    void PrepareRowBackgrounds(const GraphArea& g);
    int PrepareBars(const GraphArea& g);
    void ComposeRows(const GraphArea& g, int tallest);
    void ComposeBarRow(std::uint32_t* row, int columns, int level, std::uint32_t background,
                       std::uint32_t both) const;
    void DrawVerticalGridDots(std::uint32_t* row, int columns, int step, std::uint32_t grid) const;
    void DrawGridRowsBelow(const GraphArea& g);

    Bitmap FRenderBitmap;
    Canvas FCanvas;
    int FMaxWidth = 0;
    GraphArea FGraphArea;
    LabelMetrics FMetrics;

    // What the bitmap shows: the inputs, the scale and the visible values of
    // the last render; `FCandidateInputs` is scratch for the next comparison. All
    // keep their storage, so comparing allocates nothing.
    PictureInputs FShownInputs;
    PictureInputs FCandidateInputs;
    bool FPictureShown = false;
    int FShownGraphWidth = 0;
    std::uint64_t FShownMaxValue = 0;
    std::vector<std::uint64_t> FShownUploads;
    std::vector<std::uint64_t> FShownDownloads;

    // Per row and per column of the graph area, kept between renders so a
    // render at an unchanged size allocates nothing.
    std::vector<std::uint32_t> FRowColors;  // background, in memory order
    std::vector<std::uint8_t> FGridRows;    // 1 on a horizontal grid row
    std::vector<std::int32_t> FBarLow;      // rows of GR_UpDn
    std::vector<std::int32_t> FBarHigh;     // rows of the whole bar
    std::vector<std::uint32_t> FBarColors;  // colour of the excess, in memory order

    const TTrafficBuffer* FTrafficBuffer = nullptr;
    std::array<Color, kGradientBands> FGradientColorTable{};
    std::uint64_t FMaxValue = 0;
    // What the rate and maximum texts were last formatted from: an idle tick
    // finds them unchanged and formats nothing.
    struct LabelSources {
        std::uint64_t upload = 0;
        std::uint64_t download = 0;
        std::uint64_t maxValue = 0;
        std::int32_t udDisplayUnit = 0;
        std::int32_t mvDisplayUnit = 0;
        std::uint32_t numberFormat = 0;
        friend bool operator==(const LabelSources&, const LabelSources&) = default;
    };
    std::optional<LabelSources> FLabelSources;
    std::wstring FULabel = L"---";
    std::wstring FDLabel = L"---";
    std::wstring FMVLabel = L"---";
    std::wstring FIFLabel = L"---";
    GraphStyle FStyle;
    bool FGraphEnabled = true;
};

}  // namespace orvalet
