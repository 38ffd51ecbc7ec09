#include "rendering/win32/text_renderer_win.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>

#include "base/win32/dpi_win.h"
#include "rendering/win32/dib_pixel_storage_win.h"

namespace orvalet::win32 {
namespace {

// The autosize walk of one paint can try every one of the 16 table sizes for
// each of the three labels; a cache that holds them all creates no font in a
// steady paint. Beyond that the least recently used font makes room.
constexpr std::size_t kFontCacheLimit = 48;

const wchar_t* DefaultGuiFace() {
    static const LOGFONTW stock = [] {
        LOGFONTW font{};
        if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) != sizeof font ||
            font.lfFaceName[0] == L'\0')
            ::wcsncpy_s(font.lfFaceName, L"MS Shell Dlg", _TRUNCATE);
        return font;
    }();
    return stock.lfFaceName;
}

int TextLength(std::wstring_view text) {
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

bool SameFont(const LOGFONTW& a, const LOGFONTW& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

COLORREF ToColorRef(Color color) { return static_cast<COLORREF>(color & 0x00FFFFFFu); }

}  // namespace

GdiTextRenderer::GdiTextRenderer() : measureDC_(::CreateCompatibleDC(nullptr)), dpi_(static_cast<int>(ScreenDpi())) {
    fonts_.reserve(kFontCacheLimit);
}

std::unique_ptr<PixelStorage> GdiTextRenderer::CreatePixelStorage() { return CreateDibPixelStorage(); }

LOGFONTW GdiTextRenderer::LogFontOf(const TextFont& font, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(font.size, dpi, 72);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfEscapement = font.orientation;
    lf.lfOrientation = font.orientation;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const bool isDefault = font.name.empty() || ::_wcsicmp(font.name.c_str(), L"Default") == 0;
    ::wcsncpy_s(lf.lfFaceName, isDefault ? DefaultGuiFace() : font.name.c_str(), _TRUNCATE);
    return lf;
}

HFONT GdiTextRenderer::FontFor(const TextFont& font) {
    const LOGFONTW key = LogFontOf(font, dpi_);
    ++useClock_;
    for (CachedFont& cached : fonts_) {
        if (!SameFont(cached.key, key)) continue;
        cached.lastUse = useClock_;
        return cached.font.get();
    }
    UniqueFont created(::CreateFontIndirectW(&key));
    if (!created) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ++fontsCreated_;
    if (fonts_.size() < kFontCacheLimit) {
        fonts_.push_back({key, std::move(created), useClock_});
        return fonts_.back().font.get();
    }
    CachedFont& oldest = *std::min_element(fonts_.begin(), fonts_.end(), [](const CachedFont& a, const CachedFont& b) {
        return a.lastUse < b.lastUse;
    });
    oldest = {key, std::move(created), useClock_};
    return oldest.font.get();
}

// GDI measures along the baseline, so turned text reports the same advance
// as upright text.
SIZE GdiTextRenderer::Extent(const TextFont& font, std::wstring_view text) {
    SIZE size{};
    if (!measureDC_) return size;
    const auto selected = Select(measureDC_.get(), FontFor(font));
    if (!::GetTextExtentPoint32W(measureDC_.get(), text.data(), TextLength(text), &size)) size = {};
    return size;
}

int GdiTextRenderer::TextWidth(const TextFont& font, std::wstring_view text) { return Extent(font, text).cx; }

int GdiTextRenderer::TextHeight(const TextFont& font, std::wstring_view text) { return Extent(font, text).cy; }

void GdiTextRenderer::RenderText(Bitmap& target, int x, int y, const TextFont& font, std::wstring_view text,
                               const Color* background) {
    const HDC dc = DibPixelStorage::DCOf(target);
    if (dc == nullptr || text.empty()) return;  // an empty bitmap, or pixels GDI cannot reach
    const auto selected = Select(dc, FontFor(font));
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ::SetTextColor(dc, ToColorRef(font.color));
    if (background) {
        ::SetBkMode(dc, OPAQUE);
        ::SetBkColor(dc, ToColorRef(*background));
    } else {
        ::SetBkMode(dc, TRANSPARENT);
    }
    ::TextOutW(dc, x, y, text.data(), TextLength(text));
    ::GdiFlush();  // the portable code reads and writes these pixels directly next
}

}  // namespace orvalet::win32
