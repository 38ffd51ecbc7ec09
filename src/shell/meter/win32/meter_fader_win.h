#pragma once
// Showing and hiding the meter with a fade, and the opacity that follows the
// cursor: the fade state and the two 25 ms effect timers that drive it. The
// rules are portable (shell/meter/meter_fader.h); this unit applies them to the
// window's opacity and reports what the meter window has to carry out.
#include <windows.h>

#include "settings/options.h"
#include "shell/meter/meter_fader.h"
#include "shell/meter/win32/window_appearance_win.h"
#include "shell/timer/win32/timer_queue_timer_win.h"

namespace orvalet::win32 {

class MeterFader {
public:
    // The options are those in force, and the timers the meter window's;
    // the fader decides when they run, the window what they call.
    MeterFader(HWND window, WindowAppearance& appearance, const OVL_OptionsRecord& options,
               TTimerQueueTimer& fadeTimer, TTimerQueueTimer& mouseFadeTimer);

    // Show or hide, through a fade when transparency and fading are on.
    [[nodiscard]] FadeOutcome ShowMeter();
    [[nodiscard]] FadeOutcome HideMeter();

    // The effect timers' ticks.
    [[nodiscard]] FadeOutcome FadeStep();
    void MouseFadeStep();

    // Runs the effect timers while the window is shown with transparency
    // and fading on. A show or hide fade whose timer stops for good ends
    // where it was going.
    [[nodiscard]] FadeOutcome UpdateTimers();

    // Whether the cursor lies on the shown window's outer rectangle, right
    // and bottom edges included; windows over the meter are not considered.
    bool IsCursorOnForm() const;
    // Mouse fading reacts only to a later change of the cursor state.
    void TakeCursorStateAsActedOn() { state_.MF_CursorOnForm_LastStatus = IsCursorOnForm(); }

    const FadeState& State() const noexcept { return state_; }

private:
    bool FadesOnShowAndHide() const;
    FadeOutcome StartFade(FadeKind kind);
    FadeOutcome Carry(const FadeStepResult& step);
    // A fade timer that ticks with no fade to step only wakes the process,
    // and under Wine every 25 ms wake-up costs: its system timer runs while
    // a fade does. It keeps its schedule, so a show fade still takes its
    // first step a second after the window shows and any other fade on the
    // next 25 ms tick.
    FadeOutcome Reported(FadeOutcome outcome);

    HWND window_;
    WindowAppearance& appearance_;
    const OVL_OptionsRecord& options_;
    TTimerQueueTimer& fadeTimer_;
    TTimerQueueTimer& mouseFadeTimer_;
    FadeState state_;
};

}  // namespace orvalet::win32
