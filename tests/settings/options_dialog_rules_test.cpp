#include "settings/options_dialog_rules.h"

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

TEST(OptionsDialogRules, ListItemsMapToFieldsAndBack) {
    // Values without an entry show no selection; picking an item stores its value.
    EXPECT_EQ(WindowStyleItem(2), 2);
    EXPECT_EQ(WindowStyleItem(3), kNoItem);
    EXPECT_EQ(WindowStyleFromItem(0, 2), 0);
    EXPECT_EQ(WindowStyleFromItem(kNoItem, 2), 2);

    for (int unit = 0; unit < 4; ++unit) EXPECT_EQ(DisplayUnitFromItem(DisplayUnitItem(unit), -7), unit);
    EXPECT_EQ(DisplayUnitItem(4), kNoItem);
    EXPECT_EQ(DisplayUnitFromItem(kNoItem, 3), 3);

    const std::pair<std::int32_t, int> grids[] = {{0, 0}, {10, 1}, {30, 2}, {60, 3}, {20, kNoItem}};
    for (const auto& [grid, item] : grids) EXPECT_EQ(VertGridItem(grid), item) << grid;
    EXPECT_EQ(VertGridFromItem(3), 60);
    EXPECT_EQ(VertGridFromItem(0), 0);
    EXPECT_EQ(VertGridFromItem(kNoItem), 0);

    EXPECT_EQ(FontSizeItem(10), 2);
    EXPECT_EQ(FontSizeItem(13), kNoItem);
    EXPECT_EQ(FontSizeFromItem(15, 10), 72);
    EXPECT_EQ(FontSizeFromItem(kNoItem, 13), 13);

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

    SetListColor(colors, -1, 0x123456);
    SetListColor(colors, 16, 0x123456);
    EXPECT_EQ(colors, GR_DefaultColors);
    SetListColor(colors, 0, 0x010203);
    SetListColor(colors, 15, 0x040506);
    EXPECT_EQ(colors.GR_Download, 0x010203);
    EXPECT_EQ(colors.IF_Outline, 0x040506);
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
