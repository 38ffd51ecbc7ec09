#pragma once
// A deterministic TextRenderer for tests: no fonts, fixed metrics, and every
// glyph drawn as a solid block, so layout and pixel tests run anywhere.
//
// Metrics, for a font of size s points (s below 1 counts as 1):
//   character advance  A = s / 2 + 1        (integer division; 10 pt -> 6)
//   cell height        H = s + s / 2 + 1    (10 pt -> 16)
//   TextWidth(text)  = A * number of characters
//   TextHeight(text) = H, whatever the text (also for an empty text)
// Face name, bold and italic do not change the metrics; they are recorded in
// Calls() so tests can check which font was asked for.
//
// Drawing, in text space (u along the text, v down the cell): the cell is
// A * characters by H pixels. With a background colour the whole cell is
// filled with it first. Every character except a blank then fills its glyph
// block, columns u = i*A .. i*A + A - 2 (the last column of each character cell
// stays empty so neighbouring glyphs remain apart) and rows v = 1 .. H - 2,
// with the font colour. Orientation 900 turns this about (x, y):
// text-space (u, v) lands on pixel (x + v, y - 1 - u), so the text reads
// upward in columns x .. x + H - 1 and rows y - width .. y - 1. Any other
// orientation draws like 0. Fonts under 3 points are too small for a glyph block
// and draw nothing but their background.
#include <string>
#include <string_view>
#include <vector>

#include "rendering/text_renderer.h"

namespace orvalet::testing {

class FixedTextRenderer : public TextRenderer {
public:
    struct Call {
        int x = 0;
        int y = 0;
        TextFont font;
        std::wstring text;
        bool hasBackground = false;
        Color background = 0;
    };

    static int Points(const TextFont& font) { return font.size < 1 ? 1 : font.size; }
    static int Advance(const TextFont& font) { return Points(font) / 2 + 1; }
    static int CellHeight(const TextFont& font) { return Points(font) + Points(font) / 2 + 1; }

    std::unique_ptr<PixelStorage> CreatePixelStorage() override { return CreateMemoryPixelStorage(); }

    int TextWidth(const TextFont& font, std::wstring_view text) override {
        return Advance(font) * static_cast<int>(text.size());
    }
    int TextHeight(const TextFont& font, std::wstring_view) override { return CellHeight(font); }

    void RenderText(Bitmap& target, int x, int y, const TextFont& font, std::wstring_view text,
                  const Color* background) override {
        calls_.push_back({x, y, font, std::wstring(text), background != nullptr, background ? *background : 0});
        const int advance = Advance(font);
        const int height = CellHeight(font);
        const int width = advance * static_cast<int>(text.size());
        const bool turned = font.orientation == 900;
        auto plot = [&](int u, int v, Color color) {
            if (turned) {
                target.SetPixel(x + v, y - 1 - u, color);
            } else {
                target.SetPixel(x + u, y + v, color);
            }
        };
        if (background) {
            for (int v = 0; v < height; ++v)
                for (int u = 0; u < width; ++u) plot(u, v, *background);
        }
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == L' ') continue;
            const int left = static_cast<int>(i) * advance;
            for (int v = 1; v + 1 < height; ++v)
                for (int u = left; u < left + advance - 1; ++u) plot(u, v, font.color);
        }
    }

    const std::vector<Call>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

private:
    std::vector<Call> calls_;
};

}  // namespace orvalet::testing
