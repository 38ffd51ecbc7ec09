#pragma once
// The meter window's fades, decided without the window system. The window
// feeds in its alpha, the transparency value in force, the cursor state and
// the options; these rules answer with the new alpha and what else to do.
#include <cstdint>
#include <optional>

namespace orvalet {

// The fade kinds; the value kept in FG_Type.
enum FadeKind : std::int32_t {
    kNoFade = 0,
    kHideFade = 1,            // to 0, then the window hides
    kShowFade = 2,            // from 0 to the transparency value
    kCursorEnteredFadeOut = 3,  // down to a third of the transparency value
    kCursorLeftFadeOut = 4,     // back up to the transparency value
    kCursorEnteredFadeIn = 5,   // up to opaque
    kCursorLeftFadeIn = 6,      // back down to the transparency value
};

// Alpha moves by this much on every fade tick.
inline constexpr int kFadeStep = 8;
inline constexpr int kOpaqueAlpha = 255;

// The fade and mouse-fading state of the meter window.
struct FadeState {
    std::int32_t FG_Type = kNoFade;
    bool FG_active = false;
    bool MF_CursorOnForm = false;
    bool MF_CursorOnForm_LastStatus = false;
};

// Whether the running or pending fade shows or hides the window; the meter
// actions stay greyed meanwhile.
inline bool ShowsOrHides(const FadeState& state) {
    return state.FG_Type == kHideFade || state.FG_Type == kShowFade;
}

// What a call into the fader leaves for the meter window to carry out.
struct FadeOutcome {
    bool showWindow = false;      // show it: a show fade starts at alpha 0, or no fade
    bool hideWindow = false;      // hide it: a hide fade ended, or no fade
    bool actionsChanged = false;  // a show or hide fade began or ended
    friend bool operator==(const FadeOutcome&, const FadeOutcome&) = default;
};

// What one fade tick asks of the window.
struct FadeStepResult {
    std::optional<int> alpha;         // the new alpha, when it changes
    bool hideMeterWindow = false;     // the hide fade has ended
    bool updateMeterActions = false;  // a show or hide fade has ended
    friend bool operator==(const FadeStepResult&, const FadeStepResult&) = default;
};

// One tick of the running fade from the current alpha, given the
// transparency value in force (0..255). Ends the fade when the next step
// would pass its target; nothing happens without an active fade.
FadeStepResult AdvanceFade(FadeState& state, int alpha, std::int32_t transparencyValue);

// Ends a show or hide fade at once, as its last step would: for a fade
// whose timer stops for good. Any other fade is left as it is.
FadeStepResult FinishShowOrHideFade(FadeState& state, std::int32_t transparencyValue);

// One cursor poll. Records the cursor state and answers the fade to start
// (kNoFade for none): only a change of the cursor state outside the show
// and hide fades starts one.
FadeKind DecideMouseFade(FadeState& state, bool cursorOnForm, int alpha, std::int32_t transparencyValue,
                       bool mouseFadingIn);

// Whether the fade timer and the cursor poll run: only while the window is
// shown with transparency and fading on.
struct EffectTimerStates {
    bool fade = false;
    bool mouseFade = false;
    friend bool operator==(const EffectTimerStates&, const EffectTimerStates&) = default;
};
EffectTimerStates EffectTimersFor(bool windowVisible, bool transparencyEnabled, bool fadingEnabled,
                                  bool mouseFadingEnabled);

// Whether a point lies on a window's outer rectangle; the right and bottom
// limits are inclusive.
bool IsPointOnWindow(int x, int y, int left, int top, int width, int height);

}  // namespace orvalet
