#pragma once
// The rules of the options dialog that need no window: which controls are
// enabled, what the percentage label says, how list items map to option
// fields, and whether the dialog holds unapplied changes.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/dialog_rows.h"
#include "rendering/graph_types.h"

namespace orvalet {

// ---- Window page ------------------------------------------------------------

// The controls of the Window page that depend on other check boxes. A
// disabled control keeps its checked state, and its field keeps its value.
struct WindowPageEnabling {
    bool transparencyDependents;  // percentage label, track bar, click-through, fading
    bool mouseFading;             // "Enable mouse sensitive fading"
    bool fadeDirection;           // "fade in" and "fade out"

    friend bool operator==(const WindowPageEnabling&, const WindowPageEnabling&) = default;
};

WindowPageEnabling EnabledWindowControls(bool transparency, bool fading, bool mouseFading);

// "P % visible", P the opacity 0..255 as a rounded percentage.
std::wstring PercentVisibleText(std::int32_t transparencyValue);

// The track bar's range; a stored opacity outside it is shown at the nearer end.
inline constexpr std::int32_t kTransparencyMin = 0;
inline constexpr std::int32_t kTransparencyMax = 255;

inline constexpr std::array<std::wstring_view, 3> kWindowStyleItems{L"With caption", L"Without caption",
                                                                     L"Borderless"};
int WindowStyleItem(std::int32_t windowStyle);
// The style an item stands for; any other index keeps the current style.
std::int32_t WindowStyleFromItem(int item, std::int32_t current);

// ---- Graph page ---------------------------------------------------------------

// The unit lists show the units' captions in table order.
int DisplayUnitItem(std::int32_t unitIndex);
// The unit an item stands for; any other index keeps the current unit.
std::int32_t DisplayUnitFromItem(int item, std::int32_t current);

inline constexpr std::array<std::wstring_view, 4> kVertGridItems{L"Disabled", L"Every 10 values",
                                                                  L"Every 30 values", L"Every 60 values"};
// A spacing that is not offered shows no selection.
int VertGridItem(std::int32_t vertGrid);
// "Disabled" and any index without an entry store 0.
std::int32_t VertGridFromItem(int item);

// ---- Fonts page ---------------------------------------------------------------

// The item of a size list showing this size, or kNoItem for a size not offered.
int FontSizeItem(std::int32_t size);
std::int32_t FontSizeFromItem(int item, std::int32_t current);
// The item whose name equals the font's name exactly (case counts), or kNoItem.
int FontNameItem(ListItems names, std::wstring_view name);
// The names offered for the labels: the screen font list without the
// vertical "@" faces, which draw text sideways.
std::vector<std::wstring> HorizontalFontNames(std::vector<std::wstring> names);

// ---- Colors page --------------------------------------------------------------

inline constexpr std::array<std::wstring_view, kColorCount> kColorListItems{
    L"Download",
    L"Upload",
    L"Download + Upload (overlapping)",
    L"Graph background (single/gradient top)",
    L"Graph background (gradient bottom)",
    L"Grid lines",
    L"DL display font",
    L"DL display font outline",
    L"UL display font",
    L"UL display font outline",
    L"DL/UL display background",
    L"MAX display font",
    L"MAX display font outline",
    L"MAX display background",
    L"IF display font",
    L"IF display font outline",
};

// The colour a colour-list item edits; 0 for an index without an entry.
std::int32_t GetListColor(const GR_ColorType& colors, int index);
// Stores into the field an item edits; an index without an entry stores nothing.
void SetListColor(GR_ColorType& colors, int index, std::int32_t color);

// ---- Changed state ------------------------------------------------------------

// The dialog's modal results.
enum class ModalResult : int { OK = 1, Cancel = 2 };

// Whether the working copy holds changes that were not applied. Every edit
// marks the dialog changed, even one that restores the old value; Apply marks
// it unchanged. OK closes with OK only when there is something to apply, so
// nothing is applied twice.
class OptionsChangeState {
public:
    // Told each time the state is set, to enable or disable Apply.
    explicit OptionsChangeState(std::function<void(bool changed)> onChange = {});

    void SetOptionsChanged(bool value);
    bool ApplyEnabled() const { return changed_; }
    ModalResult OKResult() const { return changed_ ? ModalResult::OK : ModalResult::Cancel; }

private:
    std::function<void(bool)> onChange_;
    bool changed_ = false;
};

}  // namespace orvalet
