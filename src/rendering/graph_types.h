#pragma once
// Types shared by the graph, the options record and the options dialog:
// the label fonts and the sixteen display colours with their factory defaults.
#include <array>
#include <cstdint>
#include <string>

namespace orvalet {

// A colour as 0x00BBGGRR: red in bits 0-7, green 8-15, blue 16-23.
using Color = std::uint32_t;

// The colour fields hold 32-bit values; only the 0x00BBGGRR part is a colour.
constexpr Color ToColor(std::int32_t value) { return static_cast<Color>(value) & 0x00FFFFFFu; }

// Sizes a label font is drawn at; a font of 0 or a million points helps nobody.
inline constexpr std::int32_t kMinFontPoints = 1;
inline constexpr std::int32_t kMaxFontPoints = 1000;
// A face name fills at most the system's 32-unit face-name field with its NUL.
inline constexpr std::size_t kMaxFontNameLength = 31;

struct GR_FontType {
    std::wstring Name;
    std::int32_t Size = 0;  // points
    bool Bold = false;
    bool Italic = false;

    friend bool operator==(const GR_FontType&, const GR_FontType&) = default;
};

// The font sizes (points) autosize steps through and the options dialog
// offers, smallest first.
inline constexpr std::array<std::int32_t, 16> GR_FontSizes{8,  9,  10, 11, 12, 14, 16, 18,
                                                           20, 22, 24, 26, 28, 36, 48, 72};

// Position (0-based) of the entry of GR_FontSizes nearest to a size; a tie
// goes to the smaller entry.
constexpr int NearestFontSizePosition(std::int32_t size) {
    int best = 0;
    std::int64_t bestDistance = INT64_MAX;
    for (int p = 0; p < static_cast<int>(GR_FontSizes.size()); ++p) {
        const std::int64_t difference = std::int64_t{GR_FontSizes[p]} - size;
        const std::int64_t distance = difference < 0 ? -difference : difference;
        if (distance < bestDistance) {  // strict: the smaller entry keeps a tie
            best = p;
            bestDistance = distance;
        }
    }
    return best;
}

// Label index: 1 the upload/download labels, 2 the maximum label,
// 3 the interface-name label.
enum LabelIndex : int { kUDLabel = 1, kMVLabel = 2, kIFLabel = 3 };
constexpr int kLabelCount = 3;

// The fonts of the three labels, indexed by label index (1..3).
class GR_Fonts {
public:
    GR_FontType& operator[](int labelIndex) { return fonts_.at(static_cast<std::size_t>(labelIndex - 1)); }
    const GR_FontType& operator[](int labelIndex) const {
        return fonts_.at(static_cast<std::size_t>(labelIndex - 1));
    }
    friend bool operator==(const GR_Fonts&, const GR_Fonts&) = default;

private:
    std::array<GR_FontType, kLabelCount> fonts_{};
};

// The sixteen display colours, in their stored order.
struct GR_ColorType {
    std::int32_t GR_Download;    // bar part where download exceeds upload
    std::int32_t GR_Upload;      // bar part where upload exceeds download
    std::int32_t GR_UpDn;        // bar part covered by both
    std::int32_t GR_BkGr1;       // plain background; top of the gradient
    std::int32_t GR_BkGr2;       // bottom of the gradient
    std::int32_t GR_Grid;        // grid lines
    std::int32_t PN_DL;          // download label text
    std::int32_t PN_DL_Outline;  // download label outline
    std::int32_t PN_UL;          // upload label text
    std::int32_t PN_UL_Outline;  // upload label outline
    std::int32_t PN_BkGr;        // upload/download strip background
    std::int32_t MV_Font;        // maximum label text
    std::int32_t MV_Outline;     // maximum label outline
    std::int32_t MV_BkGr;        // maximum column background
    std::int32_t IF_Font;        // interface-name label text
    std::int32_t IF_Outline;     // interface-name label outline

    friend bool operator==(const GR_ColorType&, const GR_ColorType&) = default;
};
constexpr int kColorCount = 16;

// The colours in field order, for code that walks all sixteen (persistence,
// the colours page of the options dialog).
inline std::array<std::int32_t*, kColorCount> ColorFields(GR_ColorType& c) {
    return {&c.GR_Download, &c.GR_Upload, &c.GR_UpDn,     &c.GR_BkGr1, &c.GR_BkGr2, &c.GR_Grid,
            &c.PN_DL,       &c.PN_DL_Outline, &c.PN_UL,   &c.PN_UL_Outline, &c.PN_BkGr,
            &c.MV_Font,     &c.MV_Outline, &c.MV_BkGr,    &c.IF_Font,  &c.IF_Outline};
}

inline constexpr GR_ColorType GR_DefaultColors{
    0x000000FF, 0x0000FF00, 0x0000FFFF, 0x004A0A14, 0x00000000, 0x00808080,
    0x000000FF, 0x00000033, 0x0000FF00, 0x00003300, 0x00333333,
    0x0000FFFF, 0x000080FF, 0x00808080, 0x00FFFF00, 0x00FF0000,
};

inline GR_Fonts DefaultFonts() {
    GR_Fonts fonts;
    for (int i = 1; i <= kLabelCount; ++i) fonts[i] = GR_FontType{L"Tahoma", 10, false, false};
    return fonts;
}

inline const GR_Fonts GR_DefaultFonts = DefaultFonts();

}  // namespace orvalet
