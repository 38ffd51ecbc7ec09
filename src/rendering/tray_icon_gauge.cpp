#include "rendering/tray_icon_gauge.h"

#include <algorithm>

#include "base/rounding.h"
#include "rendering/color_ramp.h"
#include "sampling/traffic_buffer.h"

namespace orvalet {
namespace {

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kDarkRed = 0x000080;
constexpr Color kDarkGreen = 0x004000;
constexpr Color kGreen = 0x00FF00;

constexpr int kGreyRows = 8;

// Bars run in columns 1..6 (download) and 9..14 (upload); the grey shading
// shows in columns 0, 7, 8 and 15 only.
constexpr int kDownloadLeft = 1, kDownloadRight = 7;
constexpr int kUploadLeft = 9, kUploadRight = 15;

void FillRect(Bitmap& bitmap, int left, int top, int right, int bottom, Color color) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) bitmap.SetPixel(x, y, color);
}

// Segment i (0-based) of the download bar: row i, counted from the top.
void FillDownloadSegment(Bitmap& bitmap, int i, Color color) {
    FillRect(bitmap, kDownloadLeft, i, kDownloadRight, i + 1, color);
}

// Segment i (0-based) of the upload bar: row 15 - i, counted from the bottom.
void FillUploadSegment(Bitmap& bitmap, int i, Color color) {
    FillRect(bitmap, kUploadLeft, kGaugeSize - 1 - i, kUploadRight, kGaugeSize - i, color);
}

}  // namespace

void FillGradientTable(std::array<Color, kGaugeSegments>& table, Color start, Color end, int count) {
    count = std::min(count, kGaugeSegments);
    for (int i = 0; i < count; ++i) table[static_cast<std::size_t>(i)] = RampColor(start, end, count, i);
}

int GaugeSegments(std::uint64_t value, std::uint64_t maxValue) {
    if (maxValue == 0) return 0;
    const double share = static_cast<double>(value) / static_cast<double>(maxValue);
    return static_cast<int>(std::min<std::int64_t>(RoundHalfEven(share * kGaugeSegments), kGaugeSegments));
}

TTrayIconGauge::TTrayIconGauge() {
    FBackgroundBitmap.SetSize(kGaugeSize, kGaugeSize);
    DrawEmptyGauge();
    FRenderBitmap.SetSize(kGaugeSize, kGaugeSize);
    FRenderBitmap.CopyFrom(FBackgroundBitmap);
}

bool TTrayIconGauge::SetIconSize(int size) {
    if (size < 1 || size > kMaxGaugeIconSize) size = kGaugeSize;
    if (size == FIconSize) return false;
    FIconSize = size;
    const int side = size == kGaugeSize ? 0 : size;
    FIconBitmap.SetSize(side, side);
    FShownSegments = {-1, -1};  // the next render draws at the new size
    return true;
}

// Grey rows darkening toward the top and bottom edges, and two dark-red
// tracks that are black where their bar starts.
void TTrayIconGauge::DrawEmptyGauge() {
    FillGradientTable(GradientColorTable, kBlack, kWhite, kGreyRows);
    for (int i = 0; i < kGreyRows; ++i) {
        const Color grey = GradientColorTable[static_cast<std::size_t>(i)];
        FillRect(FBackgroundBitmap, 0, i, kGaugeSize, i + 1, grey);
        FillRect(FBackgroundBitmap, 0, kGaugeSize - 1 - i, kGaugeSize, kGaugeSize - i, grey);
    }
    FillGradientTable(GradientColorTable, kBlack, kDarkRed, kGaugeSegments);
    for (int i = 0; i < kGaugeSegments; ++i) {
        FillDownloadSegment(FBackgroundBitmap, i, GradientColorTable[static_cast<std::size_t>(i)]);
        FillUploadSegment(FBackgroundBitmap, i, GradientColorTable[static_cast<std::size_t>(i)]);
    }
}

const Bitmap& TTrayIconGauge::Render() {
    if (FAutoScale) FMaxValue = FTrafficBuffer ? FTrafficBuffer->GetMaxValue(0) : 0;
    std::array<int, 2> segments{0, 0};
    if (FMaxValue != 0 && FTrafficBuffer != nullptr) {
        const std::uint64_t down = FUseAverageValues ? FTrafficBuffer->DownloadAV() : FTrafficBuffer->Download();
        const std::uint64_t up = FUseAverageValues ? FTrafficBuffer->UploadAV() : FTrafficBuffer->Upload();
        segments = {GaugeSegments(down, FMaxValue), GaugeSegments(up, FMaxValue)};
    }
    FPictureChanged = segments != FShownSegments;
    if (!FPictureChanged) return FRenderBitmap;  // it already holds this picture
    FShownSegments = segments;
    FRenderBitmap.CopyFrom(FBackgroundBitmap);
    DrawBar(segments[0], &FillDownloadSegment);
    DrawBar(segments[1], &FillUploadSegment);
    ScaleToIconSize();
    return FRenderBitmap;
}

// Nearest neighbour: icon pixel x lies under design pixel
// floor((x + 0.5) * 16 / S), so every icon pixel is one design pixel's colour
// and segments keep whole-pixel edges; at 32 each design pixel becomes 2 x 2.
// At 16 the design is the icon, and there is nothing to do.
void TTrayIconGauge::ScaleToIconSize() {
    const int size = FIconSize;
    if (FIconBitmap.Width() != size) return;
    const auto designIndex = [size](int i) { return (2 * i + 1) * kGaugeSize / (2 * size); };
    for (int y = 0; y < size; ++y) {
        const std::uint32_t* source = FRenderBitmap.Row(designIndex(y));
        std::uint32_t* target = FIconBitmap.Row(y);
        for (int x = 0; x < size; ++x) target[x] = source[designIndex(x)];
    }
}

// Each bar's ramp spans its own length, so a short bar ends in a darker green
// than a full one.
void TTrayIconGauge::DrawBar(int segments, SegmentFill fillSegment) {
    if (segments <= 0) return;
    FillGradientTable(GradientColorTable, kDarkGreen, kGreen, segments);
    for (int i = 0; i < segments; ++i) fillSegment(FRenderBitmap, i, GradientColorTable[static_cast<std::size_t>(i)]);
}

}  // namespace orvalet
