// Per-tick costs of the sampling core: appending to the 1800-value history,
// the two moving averages, the whole-history maximum the gauge asks for, and
// one collector reading over a busy scripted table.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "sampling/collector.h"
#include "sampling/traffic_buffer.h"
#include "support/scripted_interface_table.h"

namespace {

using orvalet::TIPHLPCollector;
using orvalet::TTrafficBuffer;

TTrafficBuffer FilledBuffer() {
    TTrafficBuffer buffer;
    for (std::uint64_t i = 0; i < 1800; ++i) buffer.Add(i * 7919 % 100000, i * 104729 % 100000);
    return buffer;
}

void TrafficBuffer_Add(benchmark::State& state) {
    TTrafficBuffer buffer = FilledBuffer();
    std::uint64_t value = 0;
    for (auto _ : state) {
        buffer.Add(value, value + 1);
        ++value;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TrafficBuffer_Add);

void TrafficBuffer_Averages(benchmark::State& state) {
    const TTrafficBuffer buffer = FilledBuffer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(buffer.UploadAV());
        benchmark::DoNotOptimize(buffer.DownloadAV());
    }
}
BENCHMARK(TrafficBuffer_Averages);

void TrafficBuffer_GetMaxValueWholeHistory(benchmark::State& state) {
    const TTrafficBuffer buffer = FilledBuffer();
    for (auto _ : state) benchmark::DoNotOptimize(buffer.GetMaxValue(0));
}
BENCHMARK(TrafficBuffer_GetMaxValueWholeHistory);

void Collector_UpdateOver64Interfaces(benchmark::State& state) {
    using namespace orvalet::testing;
    ScriptedInterfaceTable table;
    for (std::uint32_t i = 0; i < 64; ++i)
        table.Rows().push_back(HardwareRow(TestGuid(i), L"Network adapter #" + std::to_wstring(i), 0, 0, 1'000'000'000));
    TIPHLPCollector collector(table.MakeSource());
    for (auto _ : state) {
        for (orvalet::InterfaceRow& row : table.Rows()) {
            row.InUcastOctets += 1500;
            row.OutUcastOctets += 400;
        }
        collector.Update();
        benchmark::DoNotOptimize(collector.Download());
    }
}
BENCHMARK(Collector_UpdateOver64Interfaces);

}  // namespace
