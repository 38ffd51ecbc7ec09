#include "shell/popup_menu_model.h"
#include "shell/reentry_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvalet {
namespace {

TEST(ReentryGuard, ANestedRunIsRefusedAndAnExceptionStillClearsTheFlag) {
    bool busy = false;
    {
        ReentryGuard outer(busy);
        EXPECT_TRUE(outer.Entered());
        EXPECT_TRUE(busy);
        {
            ReentryGuard inner(busy);
            EXPECT_FALSE(inner.Entered());
        }
        EXPECT_TRUE(busy) << "the refused inner run must not clear the outer run's flag";
    }
    EXPECT_FALSE(busy);

    EXPECT_THROW(
        {
            ReentryGuard guard(busy);
            throw std::runtime_error("tick failed");
        },
        std::runtime_error);
    EXPECT_FALSE(busy);
    ReentryGuard next(busy);
    EXPECT_TRUE(next.Entered());
}

TEST(PopupMenuModel, OffersOnlyTheMeterActionThatAppliesAndKeepsExitEnabled) {
    using C = MenuCommand;
    const auto shown = BuildPopupMenuEntries(MeterActionsFor(true));
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], (MenuEntry{C::HideMeter, L"Hide Meter", true}));
    EXPECT_TRUE(shown[1].IsSeparator());
    EXPECT_EQ(shown[2], (MenuEntry{C::ExitProgram, L"Exit Orvalet", true}));

    const auto hidden = BuildPopupMenuEntries(MeterActionsFor(false));
    ASSERT_EQ(hidden.size(), 3u);
    EXPECT_EQ(hidden[0], (MenuEntry{C::ShowMeter, L"Show Meter", true}));

    // Disabled actions stay visible but greyed.
    const auto disabled = BuildPopupMenuEntries(DisabledMeterActions(MeterActionsFor(true)));
    ASSERT_EQ(disabled.size(), 3u);
    EXPECT_EQ(disabled[0], (MenuEntry{C::HideMeter, L"Hide Meter", false}));
    EXPECT_TRUE(disabled[2].enabled);

    // Without meter actions Exit stands alone, without a separator.
    MeterActions none;
    none.showMeter.visible = none.hideMeter.visible = false;
    const auto alone = BuildPopupMenuEntries(none);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].command, C::ExitProgram);
}

}  // namespace
}  // namespace orvalet
