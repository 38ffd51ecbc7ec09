#pragma once
// What the meter's context menu offers, decided without the window system:
// the menu is rebuilt from this description every time it opens, so it
// always reflects the state of the actions at that moment.
#include <string>
#include <vector>

namespace orvalet {

// Command identifiers of the menu entries; 0 means "nothing chosen".
enum class MenuCommand : unsigned {
    None = 0,
    ShowMeter = 100,
    HideMeter = 101,
    ExitProgram = 102,
};

struct ActionState {
    bool enabled = true;
    bool visible = true;
    friend bool operator==(const ActionState&, const ActionState&) = default;
};

// The "Show Meter" and "Hide Meter" actions.
struct MeterActions {
    ActionState showMeter;
    ActionState hideMeter;
    friend bool operator==(const MeterActions&, const MeterActions&) = default;
};

// Only the action that applies is offered: "Show Meter" while the window is
// hidden, "Hide Meter" while it is shown.
MeterActions MeterActionsFor(bool windowVisible);

// Both actions greyed out (while the window fades in or out); their
// visibility is kept.
MeterActions DisabledMeterActions(MeterActions actions);

struct MenuEntry {
    MenuCommand command = MenuCommand::None;  // None for a separator
    std::wstring caption;                     // empty for a separator
    bool enabled = true;

    bool IsSeparator() const noexcept { return command == MenuCommand::None; }
    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

// The entries from top to bottom: the visible meter actions, a separator,
// then "Exit Orvalet", which is always offered and always enabled.
std::vector<MenuEntry> BuildPopupMenuEntries(const MeterActions& actions);

}  // namespace orvalet
