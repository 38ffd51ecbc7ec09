// Heap allocations of the portable part of a sampling tick in steady state:
// the collector's reading, the history, the interface name, the gauge, a
// full render of the graph with its label texts and fonts, the hint and the
// graph's name.
// Counted over 1,000 ticks after 10 that warm up, with and without traffic,
// and with traffic on a gauge drawn at 24 x 24 (the tray icon at 150 %).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "rendering/traffic_graph.h"
#include "rendering/tray_icon_gauge.h"
#include "sampling/collector.h"
#include "sampling/traffic_buffer.h"
#include "shell/tray/tray_hint.h"
#include "support/counting_new.h"
#include "support/fixed_text_renderer.h"
#include "support/scripted_interface_table.h"

namespace orvalet {
namespace {

struct PortableMeter {
    testing::ScriptedInterfaceTable table;
    testing::FixedTextRenderer text;
    TIPHLPCollector collector{(table.SetRows({testing::HardwareRow(testing::TestGuid(1), L"Ethernet adapter")}),
                               table.MakeSource())};
    TTrafficBuffer buffer;
    TTrayIconGauge gauge;
    TTrafficGraph graph{text};
    std::wstring interfaceName;
    std::wstring hint;
    std::wstring name = TrayHintStorage();

    PortableMeter() {
        text.SetRecordCalls(false);
        gauge.SetTrafficBuffer(&buffer);
        graph.SetTrafficBuffer(&buffer);
    }

    void Tick(std::uint64_t received, std::uint64_t sent) {
        table.AddTraffic(testing::TestGuid(1), received, sent);
        collector.Update();
        buffer.Add(collector.Upload(), collector.Download());
        collector.GetMonitoredIFName(interfaceName);
        graph.SetIFLabel(interfaceName);
        gauge.Render();
        BuildTrayHint(hint, graph.DLabel(), graph.ULabel(), graph.IFLabel());
        WriteGraphName(name, graph.RatesOfLabels(), graph.IFLabel());
        graph.RenderGraph(320, 240);
    }
};

void CountTickAllocations(benchmark::State& state, bool traffic, int iconSize = kGaugeSize) {
    for (auto _ : state) {
        PortableMeter meter;
        meter.gauge.SetIconSize(iconSize);
        std::uint64_t noise = 7;
        const auto amount = [&] {
            noise = noise * 6364136223846793005u + 1442695040888963407u;
            return traffic ? (noise >> 20) % 1'000'000'000 : 0;
        };
        for (int i = 0; i < 10; ++i) meter.Tick(amount(), amount());
        const std::size_t before = bench::AllocationCount();
        for (int i = 0; i < 1000; ++i) meter.Tick(amount(), amount());
        state.counters["allocations_per_1000_ticks"] = static_cast<double>(bench::AllocationCount() - before);
    }
}

void TickAllocations_Idle(benchmark::State& state) { CountTickAllocations(state, false); }
void TickAllocations_Traffic(benchmark::State& state) { CountTickAllocations(state, true); }
void TickAllocations_Traffic24px(benchmark::State& state) { CountTickAllocations(state, true, 24); }
BENCHMARK(TickAllocations_Idle)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(TickAllocations_Traffic)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(TickAllocations_Traffic24px)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvalet
