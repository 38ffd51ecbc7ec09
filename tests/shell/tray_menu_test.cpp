#include "shell/tray/tray_menu.h"

#include <gtest/gtest.h>

#include "support/scripted_interface_table.h"

namespace orvalet {
namespace {

using testing::TestGuid;

TEST(TrayMenuModel, EightEntriesInOrderFollowTheirActions) {
    ActionList actions;
    actions.UpdateMeterActions(true);
    actions.SetEnabled(ActionId::Options, false);
    using K = TrayMenuEntryKind;
    const std::vector<TrayMenuEntry> expected{
        {K::Action, kShowMeterCommand, L"Show Meter", 0, false, false},
        {K::Action, kHideMeterCommand, L"Hide Meter", 1, true, true},
        {},
        {K::SubMenu, kNoMenuCommand, L"Network Interface", 2, true, true},
        {K::Action, kOptionsCommand, L"Options", 3, false, true},
        {K::Action, kAboutCommand, L"About", 4, true, true},
        {},
        {K::Action, kExitProgramCommand, L"Exit Orvalet", 5, true, true},
    };
    EXPECT_EQ(BuildTrayMenuEntries(actions), expected);
    EXPECT_EQ(expected.size(), kTrayMenuEntryCount);
    EXPECT_EQ(expected[kNetworkInterfacePosition].kind, K::SubMenu);

    // While the meter fades, both meter actions are greyed and keep their visibility.
    actions.UpdateMeterActions(false);
    actions.DisableMeterActions();
    const auto fading = BuildTrayMenuEntries(actions);
    EXPECT_TRUE(fading[0].visible && !fading[0].enabled);
    EXPECT_FALSE(fading[1].visible);
    EXPECT_TRUE(fading[7].enabled);
}

TEST(TrayMenuModel, InterfaceSubMenuMarksTheSelectionOnlyWhereItIsListed) {
    const TIFList ifl{{TestGuid(1), L"Wi-Fi"}, {TestGuid(2), L"R&D LAN && more"}, {TestGuid(1), L"Wi-Fi filter"}};
    const struct {
        Guid monitored;
        int markedTag;  // -1: none
    } cases[] = {{AllHardwareInterfacesGUID, 0}, {TestGuid(2), 3}, {TestGuid(1), 2}, {TestGuid(9), -1}};
    for (const auto& c : cases) {
        std::vector<int> marked;
        for (const auto& item : BuildInterfaceSubMenu(ifl, c.monitored))
            if (item.checked) marked.push_back(item.tag);
        EXPECT_EQ(marked, c.markedTag < 0 ? std::vector<int>{} : std::vector<int>{c.markedTag})
            << c.monitored.ToString();
    }

    const auto items = BuildInterfaceSubMenu(ifl, TestGuid(9));
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0], (InterfaceMenuItem{L"All Hardware Interfaces", 0, false, false}));
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[2], (InterfaceMenuItem{L"Wi-Fi", 2, false, false}));
    EXPECT_EQ(items[3].caption, L"R&&D LAN &&&& more");
    EXPECT_EQ(items[4].Command(), kFirstInterfaceCommand + 4);

    // An empty list still gives the first item and the separator.
    const auto empty = BuildInterfaceSubMenu({}, AllHardwareInterfacesGUID);
    ASSERT_EQ(empty.size(), 2u);
    EXPECT_TRUE(empty[0].checked);
    EXPECT_TRUE(empty[1].separator);
}

TEST(TrayMenuModel, ChoosingAnInterfaceWritesBothRecordsThenTheCollector) {
    const TIFList ifl{{TestGuid(1), L"a"}, {TestGuid(2), L"b"}};
    TIPHLPCollector collector(nullptr);
    OVL_OptionsRecord pending, current;
    EXPECT_TRUE(SelectInterfaceFromPopup(kFirstInterfaceCommand + 3, ifl, pending, current, collector));
    EXPECT_EQ(collector.InterfaceToMonitor(), TestGuid(2));  // both records: see the meter's menu test

    // Tag 1 (the separator's place) and tags past the list select nothing.
    for (const unsigned other : {kExitProgramCommand, kFirstInterfaceCommand + 1, kFirstInterfaceCommand + 4})
        EXPECT_FALSE(SelectInterfaceFromPopup(other, ifl, pending, current, collector)) << other;
    EXPECT_EQ(collector.InterfaceToMonitor(), TestGuid(2));
}

TEST(TrayMenuModel, TrayClickShowsRaisesOrHides) {
    EXPECT_EQ(DecideTrayClick(false, false), TrayClickAction::ShowMeter);
    EXPECT_EQ(DecideTrayClick(false, true), TrayClickAction::ShowMeter);
    EXPECT_EQ(DecideTrayClick(true, true), TrayClickAction::RaiseMeter);
    EXPECT_EQ(DecideTrayClick(true, false), TrayClickAction::HideMeter);
}

}  // namespace
}  // namespace orvalet
