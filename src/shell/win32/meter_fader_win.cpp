#include "shell/win32/meter_fader_win.h"

#include <utility>

namespace orvalet::win32 {

MeterFader::MeterFader(HWND window, WindowAppearance& appearance, const OVL_OptionsRecord& options, Host host)
    : window_(window), appearance_(appearance), options_(options), host_(std::move(host)) {}

bool MeterFader::FadesOnShowAndHide() const { return appearance_.Transparent() && options_.FadingEnabled; }

void MeterFader::ShowMeter() {
    if (::IsWindowVisible(window_)) return;
    if (FadesOnShowAndHide()) {
        StartFade(kShowFade);
        return;
    }
    // Shown at once, the window has the opacity in force, whatever the last
    // fade left: a hide fade that ended early leaves 0.
    appearance_.SetAlpha(static_cast<std::uint8_t>(options_.TransparencyValue & 0xFF));
    host_.showMeterWindow();
    host_.updateMeterActions();
}

void MeterFader::HideMeter() {
    if (!::IsWindowVisible(window_)) return;
    if (FadesOnShowAndHide()) {
        StartFade(kHideFade);
        return;
    }
    host_.hideMeterWindow();
    host_.updateMeterActions();
}

// A new fade replaces a running one and goes on from the current alpha.
void MeterFader::StartFade(FadeKind kind) {
    state_.FG_active = false;
    state_.FG_Type = kind;
    if (kind == kHideFade || kind == kShowFade) host_.disableMeterActions();
    if (kind == kShowFade) {
        appearance_.SetAlpha(0);  // shown, but fully transparent
        host_.showMeterWindow();
    }
    state_.FG_active = true;
}

void MeterFader::FadeStep() {
    Carry(AdvanceFade(state_, appearance_.Alpha(), options_.TransparencyValue));
}

void MeterFader::FinishShowOrHideFade() { Carry(orvalet::FinishShowOrHideFade(state_, options_.TransparencyValue)); }

void MeterFader::Carry(const FadeStepResult& step) {
    if (step.alpha) appearance_.SetAlpha(static_cast<std::uint8_t>(*step.alpha));
    if (step.hideMeterWindow) host_.hideMeterWindow();
    if (step.updateMeterActions) host_.updateMeterActions();
}

void MeterFader::MouseFadeStep() {
    const FadeKind kind = DecideMouseFade(state_, IsCursorOnForm(), appearance_.Alpha(),
                                          options_.TransparencyValue, options_.MouseFadingIn);
    if (kind != kNoFade) StartFade(kind);
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
