// Loading and saving the 56 option values against the in-memory registry:
// the cost of the persistence logic itself, without the system registry.
#include <benchmark/benchmark.h>

#include "settings/options.h"
#include "support/fake_settings_platform.h"

namespace orvalet {
namespace {

void BM_LoadOptionsFromEmptyRegistry(benchmark::State& state) {
    testing::FakeSettingsPlatform platform;
    OVL_OptionsRecord options;
    for (auto _ : state) {
        LoadOptions(options, platform);
        benchmark::DoNotOptimize(options);
    }
}
BENCHMARK(BM_LoadOptionsFromEmptyRegistry);

void BM_LoadOptionsFromSavedRegistry(benchmark::State& state) {
    testing::FakeSettingsPlatform platform;
    SaveOptions(OVL_OptionsRecord{}, platform.registry);
    OVL_OptionsRecord options;
    for (auto _ : state) {
        LoadOptions(options, platform);
        benchmark::DoNotOptimize(options);
    }
}
BENCHMARK(BM_LoadOptionsFromSavedRegistry);

void BM_SaveOptions(benchmark::State& state) {
    testing::FakeSettingsPlatform platform;
    const OVL_OptionsRecord options;
    for (auto _ : state) {
        SaveOptions(options, platform.registry);
        platform.registry.ClearWrites();  // keeps the write journal from growing
    }
}
BENCHMARK(BM_SaveOptions);

}  // namespace
}  // namespace orvalet
