#pragma once
// The seam through which all text is measured and drawn. Windows uses GDI
// (text_renderer_win); tests use a renderer with fixed metrics.
#include <memory>
#include <string>
#include <string_view>

#include "rendering/bitmap.h"

namespace orvalet {

struct TextFont {
    std::wstring name;       // face name; "Default" is the system's default GUI face
    int size = 10;           // points
    bool bold = false;
    bool italic = false;
    Color color = 0;         // 0x00BBGGRR
    int orientation = 0;     // tenths of a degree; 900 reads upward

    friend bool operator==(const TextFont&, const TextFont&) = default;
};

class TextRenderer {
public:
    virtual ~TextRenderer() = default;

    // Pixel storage this renderer can draw into (a DIB section on Windows).
    virtual std::unique_ptr<PixelStorage> CreatePixelStorage() = 0;

    // Advance width along the text direction, also for turned text.
    virtual int TextWidth(const TextFont& font, std::wstring_view text) = 0;
    // Height of the text cell.
    virtual int TextHeight(const TextFont& font, std::wstring_view text) = 0;

    // Draws text with (x, y) the top-left corner of its cell (the cell turns
    // with turned text about that corner). With a background colour the cell
    // is filled first; without one (a clear brush) only the glyphs are drawn.
    virtual void RenderText(Bitmap& target, int x, int y, const TextFont& font, std::wstring_view text,
                          const Color* background) = 0;
};

}  // namespace orvalet
