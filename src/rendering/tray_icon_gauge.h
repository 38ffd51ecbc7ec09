#pragma once
// The picture of the notification-area icon: a 16 x 16 gauge with two bars of
// 16 one-pixel segments. The left bar shows the download and grows down from
// the top edge, the right bar the upload and grows up from the bottom edge;
// both are scaled against one maximum, given or taken from the history.
// The notification area may show its icons larger than 16 x 16 (20, 24 or 32
// pixels at 125, 150 or 200 %); there the same design is drawn sharp at that
// size, every pixel taking the colour of the design pixel under it.
// This part draws the picture; win32/tray_icon_gauge_win.h turns it into the
// icon.
#include <array>
#include <cstdint>

#include "rendering/bitmap.h"

namespace orvalet {

class TTrafficBuffer;

inline constexpr int kGaugeSize = 16;
inline constexpr int kGaugeSegments = 16;
// The largest icon the gauge draws; the notification area's icons are far
// smaller at any scale Windows offers.
inline constexpr int kMaxGaugeIconSize = 256;

// A colour ramp of `count` entries (at most 16) from `start` towards `end`:
// entry i (0-based) is, per channel, start + R(D / count * i). The last entry
// stops short of `end` in every channel that changes. Entries from `count` on
// are left as they were.
void FillGradientTable(std::array<Color, kGaugeSegments>& table, Color start, Color end, int count);

// Segments a value fills on a bar: R(value / maxValue * 16), at most 16;
// none when maxValue is 0.
int GaugeSegments(std::uint64_t value, std::uint64_t maxValue);

class TTrayIconGauge {
public:
    TTrayIconGauge();
    TTrayIconGauge(const TTrayIconGauge&) = delete;
    TTrayIconGauge& operator=(const TTrayIconGauge&) = delete;

    // The history to show; not owned. Without one the gauge stays empty.
    const TTrafficBuffer* TrafficBuffer() const { return FTrafficBuffer; }
    void SetTrafficBuffer(const TTrafficBuffer* buffer) { FTrafficBuffer = buffer; }

    // The value that fills a bar completely, in the history's own units.
    std::uint64_t MaxValue() const { return FMaxValue; }
    void SetMaxValue(std::uint64_t value) { FMaxValue = value; }

    // On: MaxValue is taken from the whole history at every render.
    bool AutoScale() const { return FAutoScale; }
    void SetAutoScale(bool autoScale) { FAutoScale = autoScale; }

    // On: the bars show the moving averages instead of the newest values.
    bool UseAverageValues() const { return FUseAverageValues; }
    void SetUseAverageValues(bool useAverages) { FUseAverageValues = useAverages; }

    // The side of the icon in pixels, 16 by default. A size outside 1 to
    // kMaxGaugeIconSize counts as 16. A new size makes the next Render draw
    // and report a changed picture; returns whether the size changed.
    int IconSize() const { return FIconSize; }
    bool SetIconSize(int size);

    // Draws the gauge for the current history into RenderBitmap(), the
    // 16 x 16 design, and into IconBitmap() at the icon size, and returns the
    // design.
    const Bitmap& Render();
    const Bitmap& RenderBitmap() const { return FRenderBitmap; }
    // The picture at the icon size: at 16 the design itself, at any other
    // size the design enlarged or reduced by nearest neighbour.
    const Bitmap& IconBitmap() const { return IconSize() == kGaugeSize ? FRenderBitmap : FIconBitmap; }
    // Whether the last Render gave other pixels than the render before it
    // (always true for the first one and the first at a new size).
    bool PictureChanged() const { return FPictureChanged; }
    const Bitmap& BackgroundBitmap() const { return FBackgroundBitmap; }

private:
    // Fills segment i (0-based, counted from where the bar starts) of a bar.
    using SegmentFill = void (*)(Bitmap& bitmap, int i, Color color);

    void DrawEmptyGauge();
    void DrawBar(int segments, SegmentFill fillSegment);
    void ScaleToIconSize();

    const TTrafficBuffer* FTrafficBuffer = nullptr;
    Bitmap FBackgroundBitmap;
    Bitmap FRenderBitmap;
    int FIconSize = kGaugeSize;
    // The picture at the icon size; empty at 16, where the design serves.
    Bitmap FIconBitmap;
    std::array<Color, kGaugeSegments> GradientColorTable{};
    bool FAutoScale = true;
    std::uint64_t FMaxValue = 0;
    bool FUseAverageValues = false;
    // The picture is the empty gauge plus two bars, so the segment counts of
    // the last render (download, upload) say everything about its pixels.
    std::array<int, 2> FShownSegments{-1, -1};
    bool FPictureChanged = true;
};

}  // namespace orvalet
