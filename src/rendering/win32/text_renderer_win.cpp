#include "rendering/win32/text_renderer_win.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>

#include "base/win32/dpi_win.h"
#include "rendering/win32/dib_pixel_storage_win.h"

namespace orvalet::win32 {
namespace {

// Labels use three fonts and the autosize search tries a few sizes per paint;
// more distinct fonts than this start the cache afresh.
constexpr std::size_t kFontCacheLimit = 16;

std::wstring DefaultGuiFace() {
    LOGFONTW stock{};
    if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock) == sizeof stock &&
        stock.lfFaceName[0] != L'\0') {
        return stock.lfFaceName;
    }
    return L"MS Shell Dlg";
}

int TextLength(std::wstring_view text) {
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

bool SameFont(const LOGFONTW& a, const LOGFONTW& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

COLORREF ToColorRef(Color color) { return static_cast<COLORREF>(color & 0x00FFFFFFu); }

}  // namespace

GdiTextRenderer::GdiTextRenderer() : measureDC_(::CreateCompatibleDC(nullptr)), dpi_(static_cast<int>(ScreenDpi())) {}

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
    const std::wstring face =
        font.name.empty() || ::_wcsicmp(font.name.c_str(), L"Default") == 0 ? DefaultGuiFace() : font.name;
    ::wcsncpy_s(lf.lfFaceName, face.c_str(), _TRUNCATE);
    return lf;
}

HFONT GdiTextRenderer::FontFor(const TextFont& font) {
    const LOGFONTW key = LogFontOf(font, dpi_);
    for (const CachedFont& cached : fonts_) {
        if (SameFont(cached.key, key)) return cached.font.get();
    }
    if (fonts_.size() >= kFontCacheLimit) fonts_.clear();
    UniqueFont created(::CreateFontIndirectW(&key));
    if (!created) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    fonts_.push_back({key, std::move(created)});
    return fonts_.back().font.get();
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
