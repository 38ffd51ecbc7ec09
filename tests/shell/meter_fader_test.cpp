#include "shell/meter/meter_fader.h"
#include "shell/meter/timer_suspension.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvalet {
namespace {

// Runs a fade from an alpha to its end and returns every alpha it writes.
std::vector<int> RunFade(FadeState& state, FadeKind kind, int alpha, std::int32_t tv,
                         FadeStepResult* last = nullptr) {
    state.FG_Type = kind;
    state.FG_active = true;
    std::vector<int> written;
    for (int tick = 0; tick < 100 && state.FG_active; ++tick) {
        const FadeStepResult step = AdvanceFade(state, alpha, tv);
        alpha = step.alpha.value_or(alpha);
        written.push_back(alpha);
        if (last) *last = step;
    }
    return written;
}

std::vector<int> Steps(int from, int step, int count, int end) {
    std::vector<int> values;
    for (int i = 1; i <= count; ++i) values.push_back(from + i * step);
    values.push_back(end);
    return values;
}

TEST(Fades, EachKindStepsByEightAndEndsOnItsTarget) {
    const struct {
        FadeKind kind;
        int from;
        std::vector<int> expected;
    } cases[] = {
        {kCursorEnteredFadeIn, 205, Steps(205, 8, 6, 255)},   // 213 .. 253, 255: 7 ticks
        {kCursorLeftFadeIn, 255, Steps(255, -8, 6, 205)},     // 247 .. 207, 205
        {kCursorEnteredFadeOut, 205, Steps(205, -8, 17, 68)},  // 18 ticks to 205 div 3
        {kCursorLeftFadeOut, 68, Steps(68, 8, 17, 205)},       // 18 back
        {kShowFade, 0, Steps(0, 8, 25, 205)},                  // 26 ticks
        {kHideFade, 205, Steps(205, -8, 25, 0)},               // 26 ticks
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        FadeState state;
        EXPECT_EQ(RunFade(state, c.kind, c.from, 205), c.expected);
        EXPECT_EQ(state.FG_Type, kNoFade);
    }
}

TEST(Fades, OnlyShowAndHideEndWithWindowWorkAndTheShowEndArmsTheNextPoll) {
    FadeStepResult last;
    FadeState state;
    state.MF_CursorOnForm = true;
    state.MF_CursorOnForm_LastStatus = true;
    RunFade(state, kShowFade, 0, 205, &last);
    EXPECT_EQ(last, (FadeStepResult{205, false, true}));
    EXPECT_FALSE(state.MF_CursorOnForm_LastStatus) << "the next poll sees the cursor on the window as new";
    EXPECT_EQ(DecideMouseFade(state, true, 205, 205, true), kCursorEnteredFadeIn);

    RunFade(state, kHideFade, 205, 205, &last);
    EXPECT_EQ(last, (FadeStepResult{0, true, true}));
    RunFade(state, kCursorEnteredFadeIn, 205, 205, &last);
    EXPECT_EQ(last, (FadeStepResult{255, false, false}));

    // Without an active fade, or of an unknown kind, a tick does nothing.
    state = {};
    EXPECT_EQ(AdvanceFade(state, 100, 205), FadeStepResult{});
    state.FG_Type = 7;
    state.FG_active = true;
    EXPECT_EQ(AdvanceFade(state, 100, 205), FadeStepResult{});
}

TEST(Fades, AnApplyDuringAShowFadeEndsItAtTheNewValue) {
    FadeState state{kShowFade, true};
    EXPECT_EQ(AdvanceFade(state, 120, 120).alpha, 120);
    EXPECT_FALSE(state.FG_active);
}

TEST(MouseFading, ActsOnlyOnAChangeOutsideFadesAndPicksTheFadeByOption) {
    const struct {
        bool fadingIn, cursorOn;
        int alpha;
        FadeKind expected;
    } cases[] = {
        {true, true, 205, kCursorEnteredFadeIn},  {true, true, 255, kNoFade},
        {true, false, 255, kCursorLeftFadeIn},    {true, false, 205, kNoFade},
        {false, true, 205, kCursorEnteredFadeOut}, {false, true, 68, kNoFade},
        {false, false, 68, kCursorLeftFadeOut},   {false, false, 205, kNoFade},
    };
    for (const auto& c : cases) {
        FadeState state;
        state.MF_CursorOnForm_LastStatus = !c.cursorOn;
        EXPECT_EQ(DecideMouseFade(state, c.cursorOn, c.alpha, 205, c.fadingIn), c.expected)
            << c.fadingIn << c.cursorOn << c.alpha;
        EXPECT_EQ(DecideMouseFade(state, c.cursorOn, c.alpha, 205, c.fadingIn), kNoFade) << "no change";
    }

    // A change during a fade is recorded, not acted on.
    for (const FadeState running : {FadeState{kCursorEnteredFadeIn, true}, FadeState{kHideFade, false}}) {
        FadeState state = running;
        EXPECT_EQ(DecideMouseFade(state, true, 205, 205, true), kNoFade);
        EXPECT_TRUE(state.MF_CursorOnForm_LastStatus);
        EXPECT_TRUE(state.MF_CursorOnForm);
    }
}

TEST(CursorOnWindow, TheRightAndBottomLimitsAreInclusive) {
    EXPECT_TRUE(IsPointOnWindow(110, 220, 10, 20, 100, 200));
    EXPECT_TRUE(IsPointOnWindow(10, 20, 10, 20, 100, 200));
    EXPECT_FALSE(IsPointOnWindow(111, 50, 10, 20, 100, 200));
    EXPECT_FALSE(IsPointOnWindow(50, 19, 10, 20, 100, 200));
    EXPECT_TRUE(IsPointOnWindow(2147483647, 0, 2147483600, 0, 100, 10)) << "no overflow at the edge";
}

TEST(TimerSuspension, SuspendSuspendResumeRestoresTheFirstStatesAndAResumeAloneDoesNothing) {
    TimerSuspension suspension;
    EXPECT_EQ(suspension.ResumeTimers(), std::nullopt) << "an automatic resume alone changes nothing";
    EXPECT_EQ(suspension.SuspendTimers({true, true, false}), TimerStates{});
    EXPECT_EQ(suspension.SuspendTimers({false, false, false}), std::nullopt);
    EXPECT_TRUE(suspension.TimersSuspended());
    EXPECT_EQ(suspension.ResumeTimers(), (TimerStates{true, true, false}));
    EXPECT_EQ(suspension.ResumeTimers(), std::nullopt);

    const struct {
        std::uint64_t wParam;
        PowerEvent event;
    } events[] = {{4, PowerEvent::Suspend}, {5, PowerEvent::Suspend},  {7, PowerEvent::Resume},
                  {8, PowerEvent::Resume},  {18, PowerEvent::None},    {0x100000004ull, PowerEvent::Suspend}};
    for (const auto& e : events) EXPECT_EQ(ClassifyPowerBroadcast(e.wParam), e.event) << e.wParam;
}

}  // namespace
}  // namespace orvalet
