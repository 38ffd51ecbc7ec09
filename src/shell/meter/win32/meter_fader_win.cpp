#include "shell/meter/win32/meter_fader_win.h"

namespace orvalet::win32 {

MeterFader::MeterFader(HWND window, WindowAppearance& appearance, const OVL_OptionsRecord& options,
                       TTimerQueueTimer& fadeTimer, TTimerQueueTimer& mouseFadeTimer)
    : window_(window),
      appearance_(appearance),
      options_(options),
      fadeTimer_(fadeTimer),
      mouseFadeTimer_(mouseFadeTimer) {
    fadeTimer_.SetNeeded(false);
}

bool MeterFader::FadesOnShowAndHide() const { return appearance_.Transparent() && options_.FadingEnabled; }

FadeOutcome MeterFader::ShowMeter() {
    if (::IsWindowVisible(window_)) return {};
    if (FadesOnShowAndHide()) return StartFade(kShowFade);
    // Shown at once, the window has the opacity in force, whatever the last
    // fade left: a hide fade that ended early leaves 0.
    appearance_.SetAlpha(static_cast<std::uint8_t>(options_.TransparencyValue & 0xFF));
    return {.showWindow = true, .actionsChanged = true};
}

FadeOutcome MeterFader::HideMeter() {
    if (!::IsWindowVisible(window_)) return {};
    if (FadesOnShowAndHide()) return StartFade(kHideFade);
    return {.hideWindow = true, .actionsChanged = true};
}

// A new fade replaces a running one and goes on from the current alpha.
FadeOutcome MeterFader::StartFade(FadeKind kind) {
    state_.FG_Type = kind;
    state_.FG_active = true;
    if (kind == kShowFade) appearance_.SetAlpha(0);  // shown, but fully transparent
    return Reported({.showWindow = kind == kShowFade, .actionsChanged = ShowsOrHides(state_)});
}

FadeOutcome MeterFader::FadeStep() {
    return Carry(AdvanceFade(state_, appearance_.Alpha(), options_.TransparencyValue));
}

void MeterFader::MouseFadeStep() {
    const FadeKind kind = DecideMouseFade(state_, IsCursorOnForm(), appearance_.Alpha(),
                                          options_.TransparencyValue, options_.MouseFadingIn);
    // A cursor fade never shows, hides or greys anything.
    if (kind != kNoFade) (void)StartFade(kind);
}

FadeOutcome MeterFader::UpdateTimers() {
    const EffectTimerStates states = EffectTimersFor(::IsWindowVisible(window_) != FALSE, options_.TransparencyEnabled,
                                                     options_.FadingEnabled, options_.MouseFadingEnabled);
    fadeTimer_.SetEnabled(states.fade);
    mouseFadeTimer_.SetEnabled(states.mouseFade);
    // Without its timer a show or hide fade would never end, and the meter
    // actions would stay greyed.
    if (states.fade) return {};
    return Carry(FinishShowOrHideFade(state_, options_.TransparencyValue));
}

FadeOutcome MeterFader::Carry(const FadeStepResult& step) {
    if (step.alpha) appearance_.SetAlpha(static_cast<std::uint8_t>(*step.alpha));
    return Reported({.hideWindow = step.hideMeterWindow, .actionsChanged = step.updateMeterActions});
}

FadeOutcome MeterFader::Reported(FadeOutcome outcome) {
    fadeTimer_.SetNeeded(state_.FG_active);
    return outcome;
}

// A cursor position that cannot be read counts as off the window.
bool MeterFader::IsCursorOnForm() const {
    if (!::IsWindowVisible(window_)) return false;
    POINT cursor{};
    RECT rect{};
    if (!::GetCursorPos(&cursor) || !::GetWindowRect(window_, &rect)) return false;
    return IsPointOnWindow(cursor.x, cursor.y, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace orvalet::win32
