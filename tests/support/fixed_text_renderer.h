#pragma once
// A deterministic TextRenderer for tests: no fonts, fixed metrics, every glyph
// a solid block, so layout and pixel tests run anywhere.
//
// For a font of s points (below 1 counts as 1): advance A = s / 2 + 1 and
// cell height H = s + s / 2 + 1 (10 pt: 6 and 16); TextWidth = A * characters,
// TextHeight = H for any text. Face, bold and italic change nothing but are
// recorded in Calls().
// In text space (u along the text, v down the cell) a background fills the
// whole cell, then every character but a blank fills columns u = i*A .. i*A +
// A - 2 and rows v = 1 .. H - 2 with the font colour. Orientation 900 puts
// (u, v) on pixel (x + v, y - 1 - u): the text reads upward in columns x ..
// x + H - 1 and rows y - width .. y - 1.
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
        if (recordCalls_)
            calls_.push_back({x, y, font, std::wstring(text), background != nullptr, background ? *background : 0});
        const int advance = Advance(font), height = CellHeight(font);
        // Text-space rectangle [u0, u1) x [v0, v1), filled a row at a time.
        auto fill = [&](int u0, int u1, int v0, int v1, Color color) {
            if (font.orientation == 900)
                target.FillRect(x + v0, y - u1, x + v1, y - u0, color);
            else
                target.FillRect(x + u0, y + v0, x + u1, y + v1, color);
        };
        if (background) fill(0, advance * static_cast<int>(text.size()), 0, height, *background);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int left = static_cast<int>(i) * advance;
            if (text[i] != L' ') fill(left, left + advance - 1, 1, height - 1, font.color);
        }
    }

    // Benchmarks that count allocations or run for long switch recording off.
    void SetRecordCalls(bool record) { recordCalls_ = record; }
    const std::vector<Call>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

private:
    std::vector<Call> calls_;
    bool recordCalls_ = true;
};

}  // namespace orvalet::testing
