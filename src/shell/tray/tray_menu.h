#pragma once
// The tray icon's popup menu (also the graph's context menu), described
// without the window system: its eight entries bound to the actions, the
// "Network Interface" sub-menu rebuilt from the interface list at every
// opening, the way back from a chosen item to its interface, and what a
// click on the tray icon does.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sampling/collector.h"
#include "sampling/guid.h"
#include "settings/options.h"
#include "shell/tray/actions.h"

namespace orvalet {

// Identifiers the menu returns for its entries; 0 means "nothing chosen".
// An item of the interface sub-menu returns kFirstInterfaceCommand + its tag.
inline constexpr unsigned kNoMenuCommand = 0;
inline constexpr unsigned kShowMeterCommand = 100;
inline constexpr unsigned kHideMeterCommand = 101;
inline constexpr unsigned kOptionsCommand = 102;
inline constexpr unsigned kAboutCommand = 103;
inline constexpr unsigned kExitProgramCommand = 104;
inline constexpr unsigned kFirstInterfaceCommand = 1000;

enum class TrayMenuEntryKind { Action, Separator, SubMenu };

struct TrayMenuEntry {
    TrayMenuEntryKind kind = TrayMenuEntryKind::Separator;
    unsigned command = kNoMenuCommand;  // for actions only
    std::wstring caption;
    int image = -1;
    bool enabled = true;
    bool visible = true;

    friend bool operator==(const TrayMenuEntry&, const TrayMenuEntry&) = default;
};

inline constexpr std::size_t kTrayMenuEntryCount = 8;
// "Network Interface", the entry that holds the interface sub-menu.
inline constexpr std::size_t kNetworkInterfacePosition = 3;
inline constexpr int kNetworkInterfaceImage = 2;

// The eight entries from top to bottom: Show Meter, Hide Meter, a separator,
// "Network Interface", Options, About, a separator and Exit, each with the
// caption, image and state of its action. Every entry is listed; an
// invisible one is left out of the menu the user sees.
std::vector<TrayMenuEntry> BuildTrayMenuEntries(const ActionList& actions);

// One item of the interface sub-menu.
struct InterfaceMenuItem {
    std::wstring caption;   // as shown: '&' doubled so that it is no mnemonic
    int tag = 0;            // 0: all hardware interfaces; t >= 2: ifl[t - 2]
    bool separator = false;
    bool checked = false;   // the radio mark

    unsigned Command() const noexcept { return kFirstInterfaceCommand + static_cast<unsigned>(tag); }
    friend bool operator==(const InterfaceMenuItem&, const InterfaceMenuItem&) = default;
};

inline constexpr wchar_t kAllHardwareInterfacesCaption[] = L"All Hardware Interfaces";

// "All Hardware Interfaces" (tag 0), a separator, then one radio item per
// interface of the list in list order (tags 2 .. n + 1). The radio mark goes
// to the item that selects `monitored`; the items form one radio group, so
// when an interface is listed twice only its first item is marked, and a
// selection missing from the list leaves every item unmarked.
std::vector<InterfaceMenuItem> BuildInterfaceSubMenu(const TIFList& ifl, const Guid& monitored);

// The interface a tag selects: tag 0 gives AllHardwareInterfacesGUID, a tag
// t >= 2 the ID of ifl[t - 2]; any other tag selects nothing.
std::optional<Guid> ResolveInterfaceTag(int tag, const TIFList& ifl);

// The tag of an interface item's command; nothing for other commands.
std::optional<int> InterfaceTagOfCommand(unsigned command);

// The click on an interface item (SelectInterfaceFromPopup): the chosen
// interface goes into `pending`, then `current`, then the collector, so that
// it counts from the next reading and a later apply of the pending options
// does not undo it. False, and nothing changed, for any other command.
bool SelectInterfaceFromPopup(unsigned command, const TIFList& ifl, OVL_OptionsRecord& pending,
                              OVL_OptionsRecord& current, TIPHLPCollector& collector);

// A text as a menu caption that shows every '&' instead of underlining the
// next letter.
std::wstring EscapeMenuCaption(std::wstring_view text);

// A click on the tray icon shows a hidden meter, raises a shown meter that
// another window overlaps and hides one that is fully in view.
enum class TrayClickAction { ShowMeter, RaiseMeter, HideMeter };
TrayClickAction DecideTrayClick(bool meterVisible, bool meterCovered) noexcept;

}  // namespace orvalet
