#include "rendering/canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace orvalet {

Canvas::Canvas(Bitmap& bitmap, TextRenderer& text) : bitmap_(bitmap), text_(text) {}

void Canvas::SetBrushColor(Color color) {
    brushColor_ = color;
    brushClear_ = false;
}

void Canvas::SetBrushClear() { brushClear_ = true; }
void Canvas::SetPenColor(Color color) { penColor_ = color; }
void Canvas::SetPenStyle(PenStyle style) { penStyle_ = style; }
void Canvas::SetFont(const TextFont& font) { font_ = font; }

void Canvas::SetFontShape(std::wstring_view name, int size, bool bold, bool italic, int orientation) {
    font_.name.assign(name);
    font_.size = size;
    font_.bold = bold;
    font_.italic = italic;
    font_.orientation = orientation;
}

void Canvas::FillRect(int left, int top, int right, int bottom) {
    bitmap_.FillRect(left, top, right, bottom, brushColor_);
}

void Canvas::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

// Bresenham along the major axis; the end point itself is not drawn, so
// consecutive lines meet without painting their shared corner twice. Only the
// steps whose major coordinate lies inside the bitmap are walked, so a line
// running far outside (a bar of a value far above the scale) costs no more
// than one across the bitmap.
void Canvas::LineTo(int x, int y) {
    const long long x0 = penX_, y0 = penY_;
    MoveTo(x, y);
    const long long dx = std::llabs(x - x0);
    const long long dy = std::llabs(y - y0);
    const bool xMajor = dx >= dy;
    const long long major = xMajor ? dx : dy;
    const long long minor = xMajor ? dy : dx;
    if (major == 0) return;

    const long long majorStart = xMajor ? x0 : y0;
    const long long minorStart = xMajor ? y0 : x0;
    const int majorSign = (xMajor ? x > x0 : y > y0) ? 1 : -1;
    const int minorSign = (xMajor ? y > y0 : x > x0) ? 1 : -1;
    const long long majorLimit = xMajor ? bitmap_.Width() : bitmap_.Height();

    // Steps k in [first, last) keep the major coordinate within 0..majorLimit-1.
    long long first = 0, last = major;
    if (majorSign > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, majorLimit - majorStart);
    } else {
        first = std::max(first, majorStart - (majorLimit - 1));
        last = std::min(last, majorStart + 1);
    }

    const long long error0 = major / 2;
    const Color color = penColor_;
    for (long long k = first; k < last; ++k) {
        if (penStyle_ == PenStyle::Dotted && !IsDotDrawn(k)) continue;
        // The error term stays in [0, major): after k steps the minor axis
        // has advanced by the smallest m with error0 - k*minor + m*major >= 0.
        // Unsigned: with 32-bit coordinates k * minor needs up to 64 bits.
        const std::uint64_t walked = static_cast<std::uint64_t>(k) * static_cast<std::uint64_t>(minor);
        const std::uint64_t slack = static_cast<std::uint64_t>(error0);
        const long long m =
            walked > slack ? static_cast<long long>((walked - slack - 1) / static_cast<std::uint64_t>(major) + 1) : 0;
        const long long a = majorStart + majorSign * k;
        const long long b = minorStart + minorSign * m;
        const long long px = xMajor ? a : b;
        const long long py = xMajor ? b : a;
        if (px >= 0 && py >= 0 && px < bitmap_.Width() && py < bitmap_.Height()) {
            bitmap_.SetPixel(static_cast<int>(px), static_cast<int>(py), color);
        }
    }
}

int Canvas::TextWidth(std::wstring_view text) { return text_.TextWidth(font_, text); }
int Canvas::TextHeight(std::wstring_view text) { return text_.TextHeight(font_, text); }

void Canvas::DrawTextAt(int x, int y, std::wstring_view text) {
    text_.RenderText(bitmap_, x, y, font_, text, brushClear_ ? nullptr : &brushColor_);
}

}  // namespace orvalet
