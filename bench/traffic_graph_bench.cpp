// One paint of the meter's graph with the default options (gradient, grids,
// all three labels, autoscale) over a full history, with the fixed-metric
// text renderer: the cost of the portable drawing alone.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "rendering/traffic_graph.h"
#include "sampling/traffic_buffer.h"
#include "support/fixed_text_renderer.h"

namespace {

void FillWithTraffic(orvalet::TTrafficBuffer& buffer) {
    for (std::uint64_t i = 0; i < 1800; ++i) buffer.Add(i * 7919 % 40000, 20000 + i * 104729 % 120000);
}

void TrafficGraph_Render(benchmark::State& state) {
    orvalet::testing::FixedTextRenderer text;
    text.SetRecordCalls(false);
    orvalet::TTrafficBuffer buffer;
    FillWithTraffic(buffer);
    orvalet::TTrafficGraph graph(text);
    graph.SetTrafficBuffer(&buffer);
    graph.SetIFLabel(L"Ethernet");
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    for (auto _ : state) {
        graph.RenderGraph(width, height);
        benchmark::DoNotOptimize(graph.RenderBitmap().Pixel(width - 1, height - 1));
    }
}
BENCHMARK(TrafficGraph_Render)->Args({320, 240})->Args({1800, 1000})->Unit(benchmark::kMicrosecond);

}  // namespace
