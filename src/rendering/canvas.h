#pragma once
// Drawing operations on a Bitmap with brush, pen and font state.
// Pixel rules: a rectangle fills left <= x < right, top <= y < bottom (empty
// or inverted: nothing); a line leaves out its end point (equal ends: nothing);
// a dotted line draws three pixels and skips three, counted from its start
// like GDI's cosmetic PS_DOT pen, and its gaps keep the pixels beneath;
// nothing outside the bitmap is touched.
#include <string_view>

#include "rendering/bitmap.h"
#include "rendering/text_renderer.h"

namespace orvalet {

enum class PenStyle { Solid, Dotted };

// The platform's cosmetic dotted pen: runs of three pixels drawn, three
// skipped, starting afresh with a drawn run at every line; `step` counts the
// pixels from the line's start.
constexpr bool IsDotDrawn(long long step) { return step % 6 < 3; }

class Canvas {
public:
    Canvas(Bitmap& bitmap, TextRenderer& text);

    // Brush: a colour makes it solid; Clear draws text without a background.
    void SetBrushColor(Color color);
    void SetBrushClear();
    void SetPenColor(Color color);
    void SetPenStyle(PenStyle style);
    void SetFont(const TextFont& font);
    // Everything of the font but its colour; the name is copied into the
    // font's own storage, so switching between labels allocates nothing.
    void SetFontShape(std::wstring_view name, int size, bool bold, bool italic, int orientation);
    void SetFontColor(Color color) { font_.color = color; }
    const TextFont& Font() const { return font_; }

    void FillRect(int left, int top, int right, int bottom);  // with the brush colour
    void MoveTo(int x, int y);
    void LineTo(int x, int y);  // from the pen position; the end becomes the new position
    void Line(int x0, int y0, int x1, int y1) {
        MoveTo(x0, y0);
        LineTo(x1, y1);
    }

    int TextWidth(std::wstring_view text);
    int TextHeight(std::wstring_view text);
    void DrawTextAt(int x, int y, std::wstring_view text);

private:
    Bitmap& bitmap_;
    TextRenderer& text_;
    Color brushColor_ = 0x00FFFFFF;
    bool brushClear_ = false;
    Color penColor_ = 0;
    PenStyle penStyle_ = PenStyle::Solid;
    int penX_ = 0;
    int penY_ = 0;
    TextFont font_{};
};

}  // namespace orvalet
