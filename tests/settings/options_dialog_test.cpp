#include "settings/options_dialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvalet {
namespace {

TEST(OptionsDialogRules, EnablingFollowsTheChainOfCheckBoxes) {
    struct Case {
        bool transparency, fading, mouseFading;
        WindowPageEnabling expected;
    };
    const Case cases[] = {
        {false, true, true, {false, false, false}},  {true, false, true, {true, false, false}},
        {true, true, false, {true, true, false}},    {true, true, true, {true, true, true}},
        {false, false, false, {false, false, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EnabledWindowControls(c.transparency, c.fading, c.mouseFading), c.expected)
            << c.transparency << c.fading << c.mouseFading;
}

TEST(OptionsDialogRules, PercentageRoundsToNearest) {
    const std::pair<std::int32_t, const wchar_t*> cases[] = {
        {255, L"100 % visible"}, {128, L"50 % visible"}, {2, L"1 % visible"},
        {1, L"0 % visible"},     {0, L"0 % visible"},   {205, L"80 % visible"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(PercentVisibleText(value), text) << value;
}

// Values without an entry show no selection and stay; picking an item stores its value.
TEST(OptionsDialogRules, ListItemsMapToFieldsAndBack) {
    const std::pair<std::int32_t, int> grids[] = {{0, 0}, {10, 1}, {30, 2}, {60, 3}, {20, kNoItem}};
    for (const auto& [grid, item] : grids) EXPECT_EQ(VertGridItem(grid), item) << grid;
    EXPECT_EQ(VertGridFromItem(3), 60);
    EXPECT_EQ(VertGridFromItem(kNoItem), 0);
    for (int unit = 0; unit < 4; ++unit) EXPECT_EQ(DisplayUnitFromItem(DisplayUnitItem(unit), -7), unit);

    const std::pair<int, int> items[] = {{WindowStyleItem(2), 2},     {WindowStyleItem(3), kNoItem},
                                         {WindowStyleFromItem(kNoItem, 2), 2}, {DisplayUnitItem(4), kNoItem},
                                         {DisplayUnitFromItem(kNoItem, 3), 3}, {FontSizeItem(10), 2},
                                         {FontSizeItem(13), kNoItem},  {FontSizeFromItem(15, 10), 72},
                                         {FontSizeFromItem(kNoItem, 13), 13}};
    for (std::size_t i = 0; i < std::size(items); ++i) EXPECT_EQ(items[i].first, items[i].second) << i;

    const std::vector<std::wstring> names{L"Arial", L"Default", L"Tahoma"};
    EXPECT_EQ(FontNameItem(names, L"Tahoma"), 2);
    EXPECT_EQ(FontNameItem(names, L"tahoma"), kNoItem);
    EXPECT_EQ(HorizontalFontNames({L"@MS Gothic", L"Default", L"MS Gothic"}),
              (std::vector<std::wstring>{L"Default", L"MS Gothic"}));
}

TEST(OptionsDialogRules, ColorListIndexOutsideTheEntriesReadsZeroAndStoresNothing) {
    GR_ColorType colors = GR_DefaultColors;
    EXPECT_EQ(GetListColor(colors, -1), 0);
    EXPECT_EQ(GetListColor(colors, 0), colors.GR_Download);
    EXPECT_EQ(GetListColor(colors, 15), colors.IF_Outline);
    EXPECT_EQ(GetListColor(colors, 16), 0);

    for (const int outside : {-1, 16}) SetListColor(colors, outside, 0x123456);
    EXPECT_EQ(colors, GR_DefaultColors);
    SetListColor(colors, 0, 0x010203);
    SetListColor(colors, 15, 0x040506);
    EXPECT_TRUE(colors.GR_Download == 0x010203 && colors.IF_Outline == 0x040506);
}

TEST(OptionsDialogRules, ApplyIsEnabledExactlyWhileChangesAreUnapplied) {
    std::vector<bool> applyButton;
    OptionsChangeState state([&](bool enabled) { applyButton.push_back(enabled); });
    state.SetOptionsChanged(false);  // opened
    EXPECT_EQ(state.OKResult(), ModalResult::Cancel);
    state.SetOptionsChanged(true);  // an edit
    EXPECT_EQ(state.OKResult(), ModalResult::OK);
    state.SetOptionsChanged(false);  // Apply
    EXPECT_FALSE(state.ApplyEnabled());
    EXPECT_EQ(state.OKResult(), ModalResult::Cancel);
    EXPECT_EQ(applyButton, (std::vector<bool>{false, true, false}));
}

}  // namespace
}  // namespace orvalet
