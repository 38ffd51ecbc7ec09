#pragma once
// The three text labels of the traffic graph: their fonts, fitting and
// autosizing, and their drawing as outlined text. Their texts are written by
// rate_texts.h.
//   label 1: download and upload, side by side in a strip along the bottom;
//   label 2: the scale maximum, reading upward in a column at the left;
//   label 3: the interface name, over the top-left corner of the graph area.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "rendering/canvas.h"
#include "rendering/graph_types.h"

namespace orvalet {

// Label margins are device pixels at 96 DPI; they grow with the DPI of the
// window that shows the graph, like the fonts do.
struct LabelMetrics {
    int dpi = 96;
    int Px(int pixelsAt96) const;
};

// What the layout needs to know about the labels.
struct LabelContent {
    std::wstring_view uLabel;
    std::wstring_view dLabel;
    std::wstring_view mvLabel;
    std::wstring_view ifLabel;
    const GR_Fonts* fonts = nullptr;
    std::array<bool, 4> wanted{};  // by label index 1..3; [0] unused
    bool fontAutosize = true;
};

// The result of fitting the labels into a control of W x H pixels.
struct LabelLayout {
    std::array<bool, 4> Shown{};          // by label index 1..3
    std::array<std::int32_t, 4> Size{};   // points, by label index 1..3
    int S = 0;   // height of the upload/download strip
    int C = 0;   // width of the maximum column
    int T = 0;   // height of the interface-name label
    int XD = 0;  // left edge of the download text
    int XU = 0;  // left edge of the upload text
};

// Sets the canvas font for label k at the given size; the font colour is
// left as it is. Label 2 reads upward.
void SelectLabelFont(Canvas& canvas, const GR_Fonts& fonts, int k, std::int32_t size);

// Fits labels 1, 2 and 3, in that order, into a W x H control, shrinking
// their fonts through GR_FontSizes when autosize is on.
LabelLayout LayOutLabels(Canvas& canvas, const LabelContent& labels, int width, int height,
                         LabelMetrics metrics = {});

// Text surrounded by a one-pixel outline; (x, y) is the top-left corner of
// the text cell. No background is drawn.
void DrawOutlinedText(Canvas& canvas, int x, int y, std::wstring_view text, Color textColor,
                      Color outlineColor, LabelMetrics metrics = {});

void DrawUpDownStrip(Canvas& canvas, const LabelContent& labels, const LabelLayout& layout,
                     const GR_ColorType& colors, int width, int height, LabelMetrics metrics = {});
void DrawMaxValueColumn(Canvas& canvas, const LabelContent& labels, const LabelLayout& layout,
                        const GR_ColorType& colors, int height, LabelMetrics metrics = {});
void DrawInterfaceName(Canvas& canvas, const LabelContent& labels, const LabelLayout& layout,
                       const GR_ColorType& colors, LabelMetrics metrics = {});

}  // namespace orvalet
