#include "settings/options_dialog.h"

#include <algorithm>
#include <utility>

#include "base/decimal_text.h"
#include "base/rounding.h"
#include "rendering/graph_types.h"
#include "rendering/units.h"
#include "settings/options.h"

namespace orvalet {
namespace {

constexpr std::array<std::int32_t, kVertGridItems.size()> kVertGridValues{0, 10, 30, 60};

// The item of a list whose entries stand for these values, or kNoItem.
template <typename Values>
int ItemOf(const Values& values, std::int32_t value) {
    const auto found = std::find(values.begin(), values.end(), value);
    return found == values.end() ? kNoItem : static_cast<int>(found - values.begin());
}

template <typename Values>
bool HasItem(const Values& values, int item) {
    return item >= 0 && item < static_cast<int>(values.size());
}

}  // namespace

WindowPageEnabling EnabledWindowControls(bool transparency, bool fading, bool mouseFading) {
    return {transparency, transparency && fading, transparency && fading && mouseFading};
}

std::wstring PercentVisibleText(std::int32_t transparencyValue) {
    return DecimalText(RoundHalfEven(transparencyValue / 2.55)) + L" % visible";
}

int WindowStyleItem(std::int32_t windowStyle) {
    return windowStyle >= kWithCaption && windowStyle <= kBorderless ? windowStyle : kNoItem;
}

std::int32_t WindowStyleFromItem(int item, std::int32_t current) {
    return HasItem(kWindowStyleItems, item) ? item : current;
}

int DisplayUnitItem(std::int32_t unitIndex) { return ItemOf(GR_DisplayUnitOrder, unitIndex); }

std::int32_t DisplayUnitFromItem(int item, std::int32_t current) {
    return HasItem(GR_DisplayUnitOrder, item) ? GR_DisplayUnitOrder[static_cast<std::size_t>(item)] : current;
}

int VertGridItem(std::int32_t vertGrid) { return ItemOf(kVertGridValues, vertGrid); }

std::int32_t VertGridFromItem(int item) {
    return HasItem(kVertGridValues, item) ? kVertGridValues[static_cast<std::size_t>(item)] : 0;
}

int FontSizeItem(std::int32_t size) { return ItemOf(GR_FontSizes, size); }

std::int32_t FontSizeFromItem(int item, std::int32_t current) {
    return HasItem(GR_FontSizes, item) ? GR_FontSizes[static_cast<std::size_t>(item)] : current;
}

int FontNameItem(ListItems names, std::wstring_view name) {
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? kNoItem : static_cast<int>(found - names.begin());
}

std::vector<std::wstring> HorizontalFontNames(std::vector<std::wstring> names) {
    std::erase_if(names, [](const std::wstring& name) { return name.starts_with(L'@'); });
    return names;
}

std::int32_t GetListColor(const GR_ColorType& colors, int index) {
    if (index < 0 || index >= kColorCount) return 0;
    GR_ColorType copy = colors;
    return *ColorFields(copy)[static_cast<std::size_t>(index)];
}

void SetListColor(GR_ColorType& colors, int index, std::int32_t color) {
    if (index < 0 || index >= kColorCount) return;
    *ColorFields(colors)[static_cast<std::size_t>(index)] = color;
}

OptionsChangeState::OptionsChangeState(std::function<void(bool)> onChange) : onChange_(std::move(onChange)) {}

void OptionsChangeState::SetOptionsChanged(bool value) {
    changed_ = value;
    if (onChange_) onChange_(value);
}

}  // namespace orvalet
