#include "rendering/graph_labels.h"

#include <algorithm>
#include <cstdlib>

#include "base/dpi_scale.h"

namespace orvalet {
namespace {

// Pixels at 96 DPI around and between the labels.
constexpr int kCellPadding = 4;       // added to the letter height for the strip and the column
constexpr int kMiddleGap = 4;         // between either rate text and the middle of the control
constexpr int kDownloadLeftRoom = 3;  // the download text needs this much room at the left
constexpr int kUploadRightRoom = 2;   // the upload text needs this much room at the right
constexpr int kTextInset = 2;         // from the strip's top, the column's left and the graph's top
constexpr int kInterfaceLeft = 6;     // from the graph area's left edge
constexpr int kInterfaceRoom = 8;     // horizontal room the interface name needs beside its text
constexpr int kOutline = 1;           // outline offset

constexpr std::wstring_view kLetterX = L"X";

// " " + text, with another blank after it if asked. Built on the stack when
// short, as every maximum label is, so measuring it allocates nothing.
class Spaced {
public:
    Spaced(std::wstring_view text, bool trailingBlank) {
        const std::size_t length = text.size() + (trailingBlank ? 2 : 1);
        wchar_t* out = shortText_.data();
        if (length > shortText_.size()) {
            longText_.resize(length);
            out = longText_.data();
        }
        out[0] = L' ';
        std::copy(text.begin(), text.end(), out + 1);
        if (trailingBlank) out[length - 1] = L' ';
        text_ = std::wstring_view(out, length);
    }
    Spaced(const Spaced&) = delete;
    Spaced& operator=(const Spaced&) = delete;

    operator std::wstring_view() const { return text_; }

private:
    std::array<wchar_t, 64> shortText_;
    std::wstring longText_;
    std::wstring_view text_;
};

// Fits labels into one control; FitLabel for k = 1, 2, 3 relies on the
// S and C the previous labels left behind.
class LabelFitter {
public:
    LabelFitter(Canvas& canvas, const LabelContent& labels, int width, int height, LabelMetrics metrics)
        : canvas_(canvas), labels_(labels), w_(width), h_(height), m_(metrics) {}

    LabelLayout Fixed() {
        for (int k = 1; k <= kLabelCount; ++k) {
            layout_.Size[k] = Fonts()[k].Size;
            layout_.Shown[k] = labels_.wanted[k];
            FitLabel(k, layout_.Size[k]);
        }
        return layout_;
    }

    LabelLayout Autosized() {
        for (int k = 1; k <= kLabelCount; ++k) {
            int position = NearestFontSizePosition(Fonts()[k].Size);
            for (;;) {
                layout_.Shown[k] = labels_.wanted[k];
                FitLabel(k, GR_FontSizes[position]);
                if (!labels_.wanted[k] || layout_.Shown[k] || position == 0) break;
                --position;
            }
            layout_.Size[k] = GR_FontSizes[position];
        }
        return layout_;
    }

private:
    const GR_Fonts& Fonts() const { return *labels_.fonts; }
    int TextWidth(std::wstring_view text) { return canvas_.TextWidth(text); }
    int CellSize() { return canvas_.TextHeight(kLetterX) + m_.Px(kCellPadding); }

    void FitLabel(int k, std::int32_t size) {
        SelectLabelFont(canvas_, Fonts(), k, size);
        switch (k) {
            case kUDLabel: FitUpDown(); break;
            case kMVLabel: FitMaxValue(); break;
            case kIFLabel: FitInterfaceName(); break;
            default: break;
        }
    }

    // Both rate texts are hidden when either does not fit in its half.
    void FitUpDown() {
        bool& shown = layout_.Shown[kUDLabel];
        const int middle = w_ / 2;
        layout_.XD = middle - TextWidth(labels_.dLabel) - m_.Px(kMiddleGap);
        layout_.XU = middle + m_.Px(kMiddleGap);
        if (layout_.XD < m_.Px(kDownloadLeftRoom) ||
            layout_.XU + TextWidth(labels_.uLabel) + m_.Px(kUploadRightRoom) > w_)
            shown = false;
        layout_.S = shown ? CellSize() : 0;
        if (layout_.S > h_) {
            layout_.S = 0;
            shown = false;
        }
    }

    void FitMaxValue() {
        bool& shown = layout_.Shown[kMVLabel];
        if (TextWidth(Spaced(labels_.mvLabel, true)) + layout_.S + m_.Px(kCellPadding) > h_) shown = false;
        layout_.C = shown ? CellSize() : 0;
        if (layout_.C > w_) {
            layout_.C = 0;
            shown = false;
        }
    }

    void FitInterfaceName() {
        bool& shown = layout_.Shown[kIFLabel];
        if (layout_.C + TextWidth(labels_.ifLabel) + m_.Px(kInterfaceRoom) > w_) shown = false;
        layout_.T = shown ? CellSize() : 0;
        if (layout_.T + layout_.S > h_) {
            layout_.T = 0;
            shown = false;
        }
    }

    Canvas& canvas_;
    const LabelContent& labels_;
    const int w_;
    const int h_;
    const LabelMetrics m_;
    LabelLayout layout_;
};

}  // namespace

int LabelMetrics::Px(int pixelsAt96) const {
    return ScaleToDpi(pixelsAt96, dpi);
}

void SelectLabelFont(Canvas& canvas, const GR_Fonts& fonts, int k, std::int32_t size) {
    const GR_FontType& configured = fonts[k];
    canvas.SetFontShape(configured.Name, std::clamp(size, kMinFontPoints, kMaxFontPoints), configured.Bold,
                        configured.Italic, k == kMVLabel ? 900 : 0);
}

LabelLayout LayOutLabels(Canvas& canvas, const LabelContent& labels, int width, int height,
                         LabelMetrics metrics) {
    LabelFitter fitter(canvas, labels, width, height, metrics);
    return labels.fontAutosize ? fitter.Autosized() : fitter.Fixed();
}

void DrawOutlinedText(Canvas& canvas, int x, int y, std::wstring_view text, Color textColor,
                      Color outlineColor, LabelMetrics metrics) {
    const int d = metrics.Px(kOutline);
    canvas.SetBrushClear();
    canvas.SetFontColor(outlineColor);
    canvas.DrawTextAt(x - d, y, text);
    canvas.DrawTextAt(x + d, y, text);
    canvas.DrawTextAt(x, y - d, text);
    canvas.DrawTextAt(x, y + d, text);
    canvas.SetFontColor(textColor);
    canvas.DrawTextAt(x, y, text);
}

// The rate texts sit either side of the middle of the whole control, not of
// the graph area, so they stay put when the maximum column comes and goes.
void DrawUpDownStrip(Canvas& canvas, const LabelContent& labels, const LabelLayout& layout,
                     const GR_ColorType& colors, int width, int height, LabelMetrics metrics) {
    SelectLabelFont(canvas, *labels.fonts, kUDLabel, layout.Size[kUDLabel]);
    const int top = height - layout.S;
    canvas.SetBrushColor(ToColor(colors.PN_BkGr));
    canvas.FillRect(0, top, width, height);
    const int y = top + metrics.Px(kTextInset);
    DrawOutlinedText(canvas, layout.XD, y, labels.dLabel, ToColor(colors.PN_DL), ToColor(colors.PN_DL_Outline),
                     metrics);
    DrawOutlinedText(canvas, layout.XU, y, labels.uLabel, ToColor(colors.PN_UL), ToColor(colors.PN_UL_Outline),
                     metrics);
}

// The text reads upward from row y = width(" " + text) + inset, so its last
// letter ends one blank's width plus the inset below the top of the column.
void DrawMaxValueColumn(Canvas& canvas, const LabelContent& labels, const LabelLayout& layout,
                        const GR_ColorType& colors, int height, LabelMetrics metrics) {
    canvas.SetBrushColor(ToColor(colors.MV_BkGr));
    canvas.FillRect(0, 0, layout.C, height - layout.S);
    SelectLabelFont(canvas, *labels.fonts, kMVLabel, layout.Size[kMVLabel]);
    const int inset = metrics.Px(kTextInset);
    const int y = canvas.TextWidth(Spaced(labels.mvLabel, false)) + inset;
    DrawOutlinedText(canvas, inset, y, labels.mvLabel, ToColor(colors.MV_Font), ToColor(colors.MV_Outline),
                     metrics);
}

void DrawInterfaceName(Canvas& canvas, const LabelContent& labels, const LabelLayout& layout,
                       const GR_ColorType& colors, LabelMetrics metrics) {
    SelectLabelFont(canvas, *labels.fonts, kIFLabel, layout.Size[kIFLabel]);
    DrawOutlinedText(canvas, layout.C + metrics.Px(kInterfaceLeft), metrics.Px(kTextInset), labels.ifLabel,
                     ToColor(colors.IF_Font), ToColor(colors.IF_Outline), metrics);
}

}  // namespace orvalet
