// One paint of the meter's graph with the default options over a full
// history, with real GDI text drawn into the DIB section.
#include <cstdint>

#include "harness.h"
#include "rendering/traffic_graph.h"
#include "rendering/win32/text_renderer_win.h"
#include "sampling/traffic_buffer.h"

namespace {

void RenderRepeatedly(std::size_t iterations, int width, int height) {
    orvalet::win32::GdiTextRenderer text;
    orvalet::TTrafficBuffer buffer;
    for (std::uint64_t i = 0; i < 1800; ++i) buffer.Add(i * 7919 % 40000, 20000 + i * 104729 % 120000);
    orvalet::TTrafficGraph graph(text);
    graph.SetTrafficBuffer(&buffer);
    graph.SetIFLabel(L"Ethernet");
    for (std::size_t i = 0; i < iterations; ++i) graph.RenderGraph(width, height);
    orvalet::bench::KeepAlive(graph.RenderBitmap().Pixel(width - 1, height - 1));
}

ORVALET_WIN_BENCH(TrafficGraph_Render_320x240) { RenderRepeatedly(iterations, 320, 240); }
ORVALET_WIN_BENCH(TrafficGraph_Render_1800x1000) { RenderRepeatedly(iterations, 1800, 1000); }

}  // namespace
