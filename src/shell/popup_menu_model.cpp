#include "shell/popup_menu_model.h"

namespace orvalet {

MeterActions MeterActionsFor(bool windowVisible) {
    MeterActions actions;
    actions.showMeter = {!windowVisible, !windowVisible};
    actions.hideMeter = {windowVisible, windowVisible};
    return actions;
}

MeterActions DisabledMeterActions(MeterActions actions) {
    actions.showMeter.enabled = false;
    actions.hideMeter.enabled = false;
    return actions;
}

std::vector<MenuEntry> BuildPopupMenuEntries(const MeterActions& actions) {
    std::vector<MenuEntry> entries;
    if (actions.showMeter.visible)
        entries.push_back({MenuCommand::ShowMeter, L"Show Meter", actions.showMeter.enabled});
    if (actions.hideMeter.visible)
        entries.push_back({MenuCommand::HideMeter, L"Hide Meter", actions.hideMeter.enabled});
    if (!entries.empty()) entries.push_back({});
    entries.push_back({MenuCommand::ExitProgram, L"Exit Orvalet", true});
    return entries;
}

}  // namespace orvalet
