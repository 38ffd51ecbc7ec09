#include <benchmark/benchmark.h>

#include <cstdint>

#include "rendering/canvas.h"
#include "rendering/traffic_format.h"
#include "rendering/tray_icon_gauge.h"
#include "sampling/traffic_buffer.h"
#include "support/fixed_text_renderer.h"

namespace orvalet {
namespace {

void BM_FormatTrafficValue(benchmark::State& state) {
    const std::uint64_t values[] = {0, 1250, 124999, 1250000, 5000000000, 3000000000000};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatTrafficValue(values[i % 6], static_cast<int>(i % 4)));
        ++i;
    }
}
BENCHMARK(BM_FormatTrafficValue);

// One read of the icon's picture with autoscale on: a scan of the whole
// 1800-value history, the background copy and two full bars.
void BM_TrayIconGaugeRender(benchmark::State& state) {
    TTrafficBuffer buffer;
    for (int i = 0; i < buffer.BufferLen(); ++i) buffer.Add(static_cast<std::uint64_t>(i), 1800);
    TTrayIconGauge gauge;
    gauge.SetTrafficBuffer(&buffer);
    for (auto _ : state) benchmark::DoNotOptimize(gauge.Render().Pixel(3, 3));
}
BENCHMARK(BM_TrayIconGaugeRender);

void BM_DottedGridLine(benchmark::State& state) {
    testing::FixedTextRenderer text;
    Bitmap bitmap;
    bitmap.SetSize(400, 300);
    Canvas canvas(bitmap, text);
    canvas.SetPenStyle(PenStyle::Dotted);
    for (auto _ : state) canvas.Line(200, 0, 200, 300);
}
BENCHMARK(BM_DottedGridLine);

}  // namespace
}  // namespace orvalet
