#include "shell/meter/nested_loops.h"

#include <gtest/gtest.h>

#include <optional>

namespace orvalet {
namespace {

using Step = NestedLoops::CloseStep;

TEST(NestedLoops, ACloseWaitsForTheOutermostLoopAndTheOptionsAreSavedOnce) {
    int closesDue = 0;
    NestedLoops loops([&] { ++closesDue; });
    EXPECT_EQ(loops.RequestClose(), Step::CloseNow);
    {
        const NestedLoops::Scope dialog(loops);
        {
            const NestedLoops::Scope menu(loops);
            EXPECT_EQ(loops.Depth(), 2);
            EXPECT_EQ(loops.RequestClose(), Step::EndOpenLoops);
        }
        EXPECT_EQ(closesDue, 0) << "the dialog still runs";
        EXPECT_EQ(loops.RequestClose(), Step::EndOpenLoops);
    }
    EXPECT_EQ(closesDue, 1) << "once, however often it was asked for";
    { const NestedLoops::Scope box(loops); }
    EXPECT_EQ(closesDue, 1) << "a loop without a close waiting asks for none";
    EXPECT_EQ(loops.Depth(), 0);

    // A loop reported by messages: an end reported without a beginning
    // counts for nothing, and a close still waits for the loop.
    loops.Leave();
    loops.Enter();
    EXPECT_EQ(loops.RequestClose(), Step::EndOpenLoops);
    loops.Leave();
    EXPECT_EQ(closesDue, 2);
    EXPECT_EQ(loops.Depth(), 0);

    EXPECT_TRUE(loops.TakeSave());
    EXPECT_FALSE(loops.TakeSave());
}

}  // namespace
}  // namespace orvalet
