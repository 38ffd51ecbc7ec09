#include "shell/tray/tray_menu.h"

namespace orvalet {
namespace {

constexpr int kAllHardwareInterfacesTag = 0;
constexpr int kFirstInterfaceTag = 2;

TrayMenuEntry ActionEntry(const ActionList& actions, ActionId action, unsigned command) {
    const ActionState& state = actions.State(action);
    return {TrayMenuEntryKind::Action,        command,       std::wstring(ActionList::Caption(action)),
            ActionList::ImageIndex(action), state.enabled, state.visible};
}

TrayMenuEntry Separator() { return {}; }

}  // namespace

std::vector<TrayMenuEntry> BuildTrayMenuEntries(const ActionList& actions) {
    return {
        ActionEntry(actions, ActionId::ShowMeterAction, kShowMeterCommand),
        ActionEntry(actions, ActionId::HideMeterAction, kHideMeterCommand),
        Separator(),
        {TrayMenuEntryKind::SubMenu, kNoMenuCommand, L"Network Interface", kNetworkInterfaceImage},
        ActionEntry(actions, ActionId::Options, kOptionsCommand),
        ActionEntry(actions, ActionId::About, kAboutCommand),
        Separator(),
        ActionEntry(actions, ActionId::ExitProgram, kExitProgramCommand),
    };
}

std::vector<InterfaceMenuItem> BuildInterfaceSubMenu(const TIFList& ifl, const Guid& monitored) {
    bool marked = monitored == AllHardwareInterfacesGUID;
    std::vector<InterfaceMenuItem> items{
        {kAllHardwareInterfacesCaption, kAllHardwareInterfacesTag, false, marked},
        {L"", kAllHardwareInterfacesTag, true, false},
    };
    for (std::size_t i = 0; i < ifl.size(); ++i) {
        const bool mark = !marked && ifl[i].ID == monitored;
        marked = marked || mark;
        items.push_back({EscapeMenuCaption(ifl[i].Name), kFirstInterfaceTag + static_cast<int>(i), false, mark});
    }
    return items;
}

std::optional<Guid> ResolveInterfaceTag(int tag, const TIFList& ifl) {
    if (tag == kAllHardwareInterfacesTag) return AllHardwareInterfacesGUID;
    if (tag < kFirstInterfaceTag) return std::nullopt;
    const auto index = static_cast<std::size_t>(tag - kFirstInterfaceTag);
    if (index >= ifl.size()) return std::nullopt;
    return ifl[index].ID;
}

std::optional<int> InterfaceTagOfCommand(unsigned command) {
    if (command < kFirstInterfaceCommand) return std::nullopt;
    return static_cast<int>(command - kFirstInterfaceCommand);
}

bool SelectInterfaceFromPopup(unsigned command, const TIFList& ifl, OVL_OptionsRecord& pending,
                              OVL_OptionsRecord& current, TIPHLPCollector& collector) {
    const std::optional<int> tag = InterfaceTagOfCommand(command);
    const std::optional<Guid> chosen = tag ? ResolveInterfaceTag(*tag, ifl) : std::nullopt;
    if (!chosen) return false;
    pending.MonitoredInterface = *chosen;
    current.MonitoredInterface = pending.MonitoredInterface;
    collector.SetInterfaceToMonitor(current.MonitoredInterface);
    return true;
}

std::wstring EscapeMenuCaption(std::wstring_view text) {
    std::wstring caption;
    caption.reserve(text.size());
    for (const wchar_t ch : text) {
        caption.push_back(ch);
        if (ch == L'&') caption.push_back(L'&');
    }
    return caption;
}

TrayClickAction DecideTrayClick(bool meterVisible, bool meterCovered) noexcept {
    if (!meterVisible) return TrayClickAction::ShowMeter;
    return meterCovered ? TrayClickAction::RaiseMeter : TrayClickAction::HideMeter;
}

}  // namespace orvalet
