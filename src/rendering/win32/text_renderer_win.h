#pragma once
// Text through GDI: fonts at the DPI of the window that shows them, drawn straight into the DIB
// section of a bitmap with a transparent or filled background.
#include <windows.h>

#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "rendering/text_renderer.h"

namespace orvalet::win32 {

class GdiTextRenderer final : public TextRenderer {
public:
    GdiTextRenderer();

    std::unique_ptr<PixelStorage> CreatePixelStorage() override;
    int TextWidth(const TextFont& font, std::wstring_view text) override;
    int TextHeight(const TextFont& font, std::wstring_view text) override;
    void RenderText(Bitmap& target, int x, int y, const TextFont& font, std::wstring_view text,
                  const Color* background) override;

    // The LOGFONT a TextFont becomes: height -size * DPI / 72, the weight and
    // slant, escapement and orientation both set to the orientation, and the
    // default quality. "Default" (or an empty name) is the default GUI face.
    static LOGFONTW LogFontOf(const TextFont& font, int dpi);

    // The DPI the fonts are made for; the screen's until set. The point
    // sizes stay, so the fonts grow with the DPI.
    int Dpi() const { return dpi_; }
    void SetDpi(int dpi) { dpi_ = dpi > 0 ? dpi : dpi_; }

    // Fonts created so far; a steady paint creates none.
    unsigned long FontsCreated() const { return fontsCreated_; }

private:
    HFONT FontFor(const TextFont& font);
    SIZE Extent(const TextFont& font, std::wstring_view text);

    struct CachedFont {
        LOGFONTW key;
        UniqueFont font;
        unsigned long long lastUse = 0;
    };

    UniqueMemoryDC measureDC_;
    int dpi_;
    std::vector<CachedFont> fonts_;
    unsigned long long useClock_ = 0;
    unsigned long fontsCreated_ = 0;
};

}  // namespace orvalet::win32
