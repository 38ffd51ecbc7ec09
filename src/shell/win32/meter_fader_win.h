#pragma once
// Showing and hiding the meter with a fade, and the opacity that follows the
// cursor: the fade state, driven by the two 25 ms effect timers. The rules
// are portable (shell/meter_effects.h); this unit applies them to the window.
#include <windows.h>

#include <functional>

#include "settings/options.h"
#include "shell/meter_effects.h"
#include "shell/win32/window_appearance_win.h"

namespace orvalet::win32 {

class MeterFader {
public:
    // What the fader asks of the meter window around a fade.
    struct Host {
        std::function<void()> showMeterWindow;
        std::function<void()> hideMeterWindow;
        std::function<void()> updateMeterActions;
        std::function<void()> disableMeterActions;
    };

    // The options are those in force, kept by the host.
    MeterFader(HWND window, WindowAppearance& appearance, const OVL_OptionsRecord& options, Host host);

    // Show or hide, through a fade when transparency and fading are on.
    void ShowMeter();
    void HideMeter();
    void StartFade(FadeKind kind);

    // The effect timers' handlers. The fade timer's host keeps a fade step
    // from running inside another (FG_isbusy).
    void FadeStep();
    void MouseFadeStep();
    // A show or hide fade whose timer stops for good ends where it was going.
    void FinishShowOrHideFade();

    // Whether the cursor lies on the shown window's outer rectangle, right
    // and bottom edges included; windows over the meter are not considered.
    bool IsCursorOnForm() const;
    // Mouse fading reacts only to a later change of the cursor state.
    void TakeCursorStateAsActedOn() { state_.MF_CursorOnForm_LastStatus = IsCursorOnForm(); }

    const FadeState& State() const noexcept { return state_; }

private:
    bool FadesOnShowAndHide() const;
    void Carry(const FadeStepResult& step);

    HWND window_;
    WindowAppearance& appearance_;
    const OVL_OptionsRecord& options_;
    Host host_;
    FadeState state_;
};

}  // namespace orvalet::win32
