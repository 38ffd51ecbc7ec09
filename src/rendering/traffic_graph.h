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
#include "rendering/text_renderer.h"

namespace orvalet {

class TTrafficBuffer;

inline constexpr int kGradientBands = 256;

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
    const Bitmap& RenderBitmap() const { return bitmap_; }

    // The widest the control may be: the history's length plus the maximum
    // column, so the graph area never has more columns than values. 0 until
    // the first render.
    int MaxWidth() const { return maxWidth_; }

    // The history to draw; not owned. Without one the graph draws an empty
    // history.
    const TTrafficBuffer* TrafficBuffer() const { return trafficBuffer_; }
    void SetTrafficBuffer(const TTrafficBuffer* buffer) { trafficBuffer_ = buffer; }

    // Every drawing option in one value. Setting new colours rebuilds the
    // gradient table at once.
    const GraphStyle& Style() const { return style_; }
    void SetStyle(const GraphStyle& style);

    // The options of the style one by one.
    const GR_ColorType& Colors() const { return style_.colors; }
    void SetColors(const GR_ColorType& colors);
    const GR_Fonts& LabelFonts() const { return style_.labelFonts; }
    void SetLabelFonts(const GR_Fonts& fonts) { style_.labelFonts = fonts; }
    bool ShowUDLabel() const { return style_.showLabel[kUDLabel]; }
    void SetShowUDLabel(bool show) { style_.showLabel[kUDLabel] = show; }
    bool ShowMVLabel() const { return style_.showLabel[kMVLabel]; }
    void SetShowMVLabel(bool show) { style_.showLabel[kMVLabel] = show; }
    void SetShowIFLabel(bool show) { style_.showLabel[kIFLabel] = show; }
    bool FontAutosize() const { return style_.fontAutosize; }
    void SetFontAutosize(bool autosize) { style_.fontAutosize = autosize; }
    bool Autoscale() const { return style_.autoscale; }
    void SetAutoscale(bool autoscale) { style_.autoscale = autoscale; }
    bool UseGradient() const { return style_.useGradient; }
    void SetUseGradient(bool use) { style_.useGradient = use; }
    bool ShowHorGrid() const { return style_.showHorGrid; }
    void SetShowHorGrid(bool show) { style_.showHorGrid = show; }
    std::int32_t GraphVertGrid() const { return style_.graphVertGrid; }
    void SetGraphVertGrid(std::int32_t distance) { style_.graphVertGrid = distance; }
    std::int32_t UDDisplayUnit() const { return style_.udDisplayUnit; }
    void SetUDDisplayUnit(std::int32_t unit) { style_.udDisplayUnit = unit; }
    void SetMVDisplayUnit(std::int32_t unit) { style_.mvDisplayUnit = unit; }
    void SetDisplayAverage(bool average) { style_.displayAverage = average; }

    const std::array<Color, kGradientBands>& GradientColorTable() const { return gradient_; }

    bool GraphEnabled() const { return graphEnabled_; }
    void SetGraphEnabled(bool enabled) { graphEnabled_ = enabled; }

    // Texts built by the last render of an enabled graph ("---" before it).
    // Setting a text copies it into the graph's own storage.
    const std::wstring& ULabel() const { return uLabel_; }
    void SetULabel(std::wstring_view text) {
        uLabel_.assign(text);
        labelSources_.reset();
    }
    const std::wstring& DLabel() const { return dLabel_; }
    void SetDLabel(std::wstring_view text) {
        dLabel_.assign(text);
        labelSources_.reset();
    }
    const std::wstring& MVLabel() const { return mvLabel_; }
    void SetMVLabel(std::wstring_view text) {
        mvLabel_.assign(text);
        labelSources_.reset();
    }
    // The interface name; only the caller changes it.
    const std::wstring& IFLabel() const { return ifLabel_; }
    void SetIFLabel(std::wstring_view text) { ifLabel_.assign(text); }

    // The value (bytes per tick) that fills the graph's height. With
    // Autoscale every render replaces it with the largest visible value.
    std::uint64_t MaxValue() const { return maxValue_; }
    void SetMaxValue(std::uint64_t value) { maxValue_ = value; }

    // DPI of the window showing the graph; scales the label margins.
    int Dpi() const { return metrics_.dpi; }
    void SetDpi(int dpi) { metrics_.dpi = dpi > 0 ? dpi : 96; }

    // Rebuilds the upload, download and maximum label texts from the history
    // without drawing; every render does this as its first step.
    void UpdateLabels();

private:
    struct Area {
        int left, top, right, bottom;
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
    };

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
    int Draw(int width, int height);
    LabelContent Labels() const;
    void DrawGraphArea(const Area& g, const LabelContent& labels, const LabelLayout& layout);
    void PrepareRowBackgrounds(const Area& g);
    int PrepareBars(const Area& g);
    void ComposeRows(const Area& g, int tallest);
    void ComposeBarRow(std::uint32_t* row, int columns, int level, std::uint32_t background,
                       std::uint32_t both) const;
    void DrawVerticalGridDots(std::uint32_t* row, int columns, int step, std::uint32_t grid) const;
    void DrawGridRowsBelow(const Area& g);

    Bitmap bitmap_;
    Canvas canvas_;
    int maxWidth_ = 0;
    LabelMetrics metrics_;

    // What the bitmap shows: the inputs, the scale and the visible values of
    // the last render; `candidate_` is scratch for the next comparison. All
    // keep their storage, so comparing allocates nothing.
    PictureInputs shown_;
    PictureInputs candidate_;
    bool pictureShown_ = false;
    int shownGraphWidth_ = 0;
    std::uint64_t shownMaxValue_ = 0;
    std::vector<std::uint64_t> shownUploads_;
    std::vector<std::uint64_t> shownDownloads_;

    // Per row and per column of the graph area, kept between renders so a
    // render at an unchanged size allocates nothing.
    std::vector<std::uint32_t> rowColors_;  // background, in memory order
    std::vector<std::uint8_t> gridRows_;    // 1 on a horizontal grid row
    std::vector<std::int32_t> barLow_;      // rows of GR_UpDn
    std::vector<std::int32_t> barHigh_;     // rows of the whole bar
    std::vector<std::uint32_t> barColors_;  // colour of the excess, in memory order

    const TTrafficBuffer* trafficBuffer_ = nullptr;
    std::array<Color, kGradientBands> gradient_{};
    std::uint64_t maxValue_ = 0;
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
    std::optional<LabelSources> labelSources_;
    std::wstring uLabel_ = L"---";
    std::wstring dLabel_ = L"---";
    std::wstring mvLabel_ = L"---";
    std::wstring ifLabel_ = L"---";
    GraphStyle style_;
    bool graphEnabled_ = true;
};

}  // namespace orvalet
