#include "shell/tray/actions.h"

namespace orvalet {
namespace {

struct ActionDesign {
    std::wstring_view caption;
    int imageIndex;
};

constexpr std::array<ActionDesign, kActionCount> kDesigns{{
    {L"Show Meter", 0},
    {L"Hide Meter", 1},
    {L"Options", 3},
    {L"Apply", 6},
    {L"About", 4},
    {L"Exit Orvalet", 5},
}};

}  // namespace

std::wstring_view ActionList::Caption(ActionId action) noexcept { return kDesigns[Index(action)].caption; }

int ActionList::ImageIndex(ActionId action) noexcept { return kDesigns[Index(action)].imageIndex; }

void ActionList::UpdateMeterActions(bool windowVisible) noexcept {
    states_[Index(ActionId::ShowMeterAction)] = {!windowVisible, !windowVisible};
    states_[Index(ActionId::HideMeterAction)] = {windowVisible, windowVisible};
}

void ActionList::DisableMeterActions() noexcept {
    SetEnabled(ActionId::ShowMeterAction, false);
    SetEnabled(ActionId::HideMeterAction, false);
}

}  // namespace orvalet
