#include "support/options_fuzz.h"

#include <gtest/gtest.h>

namespace orvalet::testing {
namespace {

TEST(OptionsFuzz, EveryLoadedFieldIsItsUsableStoredValueOrItsDefaultAndSurvivesARoundTrip) {
    const int states = FuzzCount(500, 10000);
    const std::uint64_t seed = FuzzSeed("settings states on the in-memory registry", 13001, states);
    for (int i = 0; i < states && !HasFailure(); ++i) {
        SCOPED_TRACE(Reproduce(seed + i));
        FuzzRandom random(seed + i);
        FakeSettingsPlatform platform;
        const std::int32_t extents[] = {0, 1, 1040, 1920, INT32_MAX, INT32_MIN};
        platform.workArea = {random.Pick(extents), random.Pick(extents)};
        const StoredState state = WriteRandomState(random, platform.registry);
        CheckLoad(platform, state, random.OneIn(2));
        EXPECT_EQ(platform.registry.OpenHandleCount(), 0);
    }
}

}  // namespace
}  // namespace orvalet::testing
