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

TEST(PopupMenuModel, OffersOnlyTheMeterActionThatAppliesAndGreysBothDuringAFade) {
    using C = MenuCommand;
    TActionList actions;
    actions.UpdateMeterActions(true);
    const auto shown = BuildPopupMenuEntries(actions);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], (MenuEntry{C::HideMeter, L"Hide Meter", true}));
    EXPECT_TRUE(shown[1].IsSeparator());
    EXPECT_EQ(shown[2], (MenuEntry{C::ExitProgram, L"Exit Orvalet", true}));

    actions.UpdateMeterActions(false);
    EXPECT_EQ(BuildPopupMenuEntries(actions)[0], (MenuEntry{C::ShowMeter, L"Show Meter", true}));

    // Disabled actions stay visible but greyed; the others are untouched.
    actions.SetEnabled(ActionId::About, false);
    actions.DisableMeterActions();
    EXPECT_EQ(BuildPopupMenuEntries(actions)[0], (MenuEntry{C::ShowMeter, L"Show Meter", false}));
    EXPECT_FALSE(actions.State(ActionId::HideMeterAction).visible);
    EXPECT_FALSE(actions.State(ActionId::About).enabled);
    EXPECT_TRUE(actions.State(ActionId::ExitProgram).enabled);
    EXPECT_EQ(TActionList::ImageIndex(ActionId::ApplyOptions), 6) << "beyond the six images";
}

}  // namespace
}  // namespace orvalet
