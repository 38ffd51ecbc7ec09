#pragma once
// What the meter's context menu offers, decided without the window system:
// the menu is rebuilt from this description every time it opens, so it
// always reflects the state of the actions at that moment.
#include <string>
#include <vector>

#include "shell/actions.h"

namespace orvalet {

// Command identifiers of the menu entries; 0 means "nothing chosen".
enum class MenuCommand : unsigned {
    None = 0,
    ShowMeter = 100,
    HideMeter = 101,
    ExitProgram = 102,
};

struct MenuEntry {
    MenuCommand command = MenuCommand::None;  // None for a separator
    std::wstring caption;                     // empty for a separator
    bool enabled = true;

    bool IsSeparator() const noexcept { return command == MenuCommand::None; }
    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

// The entries from top to bottom: the visible meter actions, a separator,
// then "Exit Orvalet".
std::vector<MenuEntry> BuildPopupMenuEntries(const TActionList& actions);

}  // namespace orvalet
