#pragma once
// The meter's actions: what the menus offer and the dialogs disable while
// they are open. Each action has a caption, an image of the action image
// list and an enabled and a visible state; menu entries show that state.
#include <array>
#include <cstddef>
#include <string_view>

namespace orvalet {

enum class ActionId : unsigned {
    ShowMeterAction,
    HideMeterAction,
    Options,
    ApplyOptions,
    About,
    ExitProgram,
};

inline constexpr std::size_t kActionCount = 6;

struct ActionState {
    bool enabled = true;
    bool visible = true;
    friend bool operator==(const ActionState&, const ActionState&) = default;
};

// The action list. Apply has image 6, beyond the six images: it is in no
// menu and only the options dialog executes it.
class ActionList {
public:
    static std::wstring_view Caption(ActionId action) noexcept;
    static int ImageIndex(ActionId action) noexcept;

    const ActionState& State(ActionId action) const noexcept { return states_[Index(action)]; }
    void SetEnabled(ActionId action, bool enabled) noexcept { states_[Index(action)].enabled = enabled; }

    // Only the meter action that applies is offered: "Show Meter" while the
    // window is hidden, "Hide Meter" while it is shown.
    void UpdateMeterActions(bool windowVisible) noexcept;
    // Both meter actions greyed out while the window fades in or out; their
    // visibility is kept.
    void DisableMeterActions() noexcept;

    friend bool operator==(const ActionList&, const ActionList&) = default;

private:
    static constexpr std::size_t Index(ActionId action) noexcept { return static_cast<std::size_t>(action); }

    std::array<ActionState, kActionCount> states_{};
};

}  // namespace orvalet
