#include "shell/popup_menu_model.h"

namespace orvalet {
namespace {

void AddVisible(std::vector<MenuEntry>& entries, const TActionList& actions, ActionId action, MenuCommand command) {
    const ActionState& state = actions.State(action);
    if (state.visible) entries.push_back({command, std::wstring(TActionList::Caption(action)), state.enabled});
}

}  // namespace

std::vector<MenuEntry> BuildPopupMenuEntries(const TActionList& actions) {
    std::vector<MenuEntry> entries;
    AddVisible(entries, actions, ActionId::ShowMeterAction, MenuCommand::ShowMeter);
    AddVisible(entries, actions, ActionId::HideMeterAction, MenuCommand::HideMeter);
    if (!entries.empty()) entries.push_back({});
    AddVisible(entries, actions, ActionId::ExitProgram, MenuCommand::ExitProgram);
    return entries;
}

}  // namespace orvalet
