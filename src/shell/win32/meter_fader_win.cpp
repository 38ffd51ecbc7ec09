#include "shell/win32/meter_fader_win.h"

#include <utility>

#include "shell/reentry_guard.h"

namespace orvalet::win32 {

TMeterFader::TMeterFader(HWND window, TWindowAppearance& appearance, const OVL_OptionsRecord& options, Host host)
    : FWindow(window), FAppearance(appearance), FOptions(options), FHost(std::move(host)) {}

bool TMeterFader::FadesOnShowAndHide() const { return FAppearance.Transparent() && FOptions.FadingEnabled; }

void TMeterFader::ShowMeter() {
    if (::IsWindowVisible(FWindow)) return;
    if (FadesOnShowAndHide()) {
        StartFade(kShowFade);
        return;
    }
    FHost.showMeterWindow();
    FHost.updateMeterActions();
}

void TMeterFader::HideMeter() {
    if (!::IsWindowVisible(FWindow)) return;
    if (FadesOnShowAndHide()) {
        StartFade(kHideFade);
        return;
    }
    FHost.hideMeterWindow();
    FHost.updateMeterActions();
}

// A new fade replaces a running one and goes on from the current alpha.
void TMeterFader::StartFade(FadeKind kind) {
    FState.FG_active = false;
    FState.FG_Type = kind;
    if (kind == kHideFade || kind == kShowFade) FHost.disableMeterActions();
    if (kind == kShowFade) {
        FAppearance.SetAlpha(0);  // shown, but fully transparent
        FHost.showMeterWindow();
    }
    FState.FG_active = true;
}

void TMeterFader::FadeStep() {
    const ReentryGuard guard(FG_isbusy);
    if (!guard.Entered()) return;
    Carry(AdvanceFade(FState, FAppearance.Alpha(), FOptions.TransparencyValue));
}

void TMeterFader::FinishShowOrHideFade() { Carry(orvalet::FinishShowOrHideFade(FState, FOptions.TransparencyValue)); }

void TMeterFader::Carry(const FadeStepResult& step) {
    if (step.alpha) FAppearance.SetAlpha(static_cast<std::uint8_t>(*step.alpha));
    if (step.hideMeterWindow) FHost.hideMeterWindow();
    if (step.updateMeterActions) FHost.updateMeterActions();
}

void TMeterFader::MouseFadeStep() {
    const FadeKind kind = DecideMouseFade(FState, IsCursorOnForm(), FAppearance.Alpha(),
                                          FOptions.TransparencyValue, FOptions.MouseFadingIn);
    if (kind != kNoFade) StartFade(kind);
}

// A cursor position that cannot be read counts as off the window.
bool TMeterFader::IsCursorOnForm() const {
    if (!::IsWindowVisible(FWindow)) return false;
    POINT cursor{};
    RECT rect{};
    if (!::GetCursorPos(&cursor) || !::GetWindowRect(FWindow, &rect)) return false;
    return IsPointOnWindow(cursor.x, cursor.y, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace orvalet::win32
