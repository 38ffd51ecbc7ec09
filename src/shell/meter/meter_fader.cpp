#include "shell/meter/meter_fader.h"

#include <cstdint>

namespace orvalet {
namespace {

// A fade runs towards its target; it ends when the next step would pass it.
struct FadeRule {
    bool upward;
    int target;
};

std::optional<FadeRule> RuleFor(std::int32_t kind, std::int32_t transparencyValue) {
    const int tv = static_cast<int>(transparencyValue);
    switch (kind) {
        case kHideFade: return FadeRule{false, 0};
        case kShowFade: return FadeRule{true, tv};
        case kCursorEnteredFadeOut: return FadeRule{false, tv / 3};
        case kCursorLeftFadeOut: return FadeRule{true, tv};
        case kCursorEnteredFadeIn: return FadeRule{true, kOpaqueAlpha};
        case kCursorLeftFadeIn: return FadeRule{false, tv};
        default: return std::nullopt;
    }
}

void EndFade(FadeState& state, FadeStepResult& result) {
    if (state.FG_Type == kHideFade) result.hideMeterWindow = true;
    if (ShowsOrHides(state)) result.updateMeterActions = true;
    // At the end of a show fade the next poll sees the cursor state as new,
    // so the opacity comes in line with where the cursor rests.
    if (state.FG_Type == kShowFade) state.MF_CursorOnForm_LastStatus = !state.MF_CursorOnForm;
    state.FG_Type = kNoFade;
    state.FG_active = false;
}

}  // namespace

FadeStepResult AdvanceFade(FadeState& state, int alpha, std::int32_t transparencyValue) {
    FadeStepResult result;
    if (!state.FG_active) return result;
    const std::optional<FadeRule> rule = RuleFor(state.FG_Type, transparencyValue);
    if (!rule) return result;

    const int next = rule->upward ? alpha + kFadeStep : alpha - kFadeStep;
    const bool ends = rule->upward ? next > rule->target : next < rule->target;
    result.alpha = ends ? rule->target : next;
    if (ends) EndFade(state, result);
    return result;
}

FadeStepResult FinishShowOrHideFade(FadeState& state, std::int32_t transparencyValue) {
    FadeStepResult result;
    if (!ShowsOrHides(state)) return result;
    result.alpha = RuleFor(state.FG_Type, transparencyValue)->target;
    EndFade(state, result);
    return result;
}

FadeKind DecideMouseFade(FadeState& state, bool cursorOnForm, int alpha, std::int32_t transparencyValue,
                       bool mouseFadingIn) {
    state.MF_CursorOnForm = cursorOnForm;
    if (cursorOnForm == state.MF_CursorOnForm_LastStatus) return kNoFade;
    state.MF_CursorOnForm_LastStatus = cursorOnForm;
    // A change during a fade, or while the window fades in or out, is
    // recorded but not acted on.
    if (state.FG_active || ShowsOrHides(state)) return kNoFade;

    const std::int64_t tv = transparencyValue;
    if (mouseFadingIn) {
        if (cursorOnForm && alpha < kOpaqueAlpha) return kCursorEnteredFadeIn;
        if (!cursorOnForm && alpha > tv) return kCursorLeftFadeIn;
    } else {
        if (cursorOnForm && alpha > tv / 3) return kCursorEnteredFadeOut;
        if (!cursorOnForm && alpha < tv) return kCursorLeftFadeOut;
    }
    return kNoFade;
}

EffectTimerStates EffectTimersFor(bool windowVisible, bool transparencyEnabled, bool fadingEnabled,
                                  bool mouseFadingEnabled) {
    const bool fade = windowVisible && transparencyEnabled && fadingEnabled;
    return {fade, fade && mouseFadingEnabled};
}

bool IsPointOnWindow(int x, int y, int left, int top, int width, int height) {
    const std::int64_t px = x, py = y;
    return px >= left && px <= std::int64_t{left} + width && py >= top && py <= std::int64_t{top} + height;
}

}  // namespace orvalet
