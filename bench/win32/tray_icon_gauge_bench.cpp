#include <windows.h>

#include "harness.h"
#include "rendering/traffic_format.h"
#include "rendering/win32/text_renderer_win.h"
#include "rendering/win32/tray_icon_gauge_win.h"
#include "sampling/traffic_buffer.h"

namespace {

ORVALET_WIN_BENCH(TrayIconGaugeIconRead) {
    orvalet::TTrafficBuffer buffer;
    for (int i = 0; i < buffer.BufferLen(); ++i) buffer.Add(static_cast<std::uint64_t>(i), 1800);
    orvalet::win32::TrayGaugeIcon gauge;
    gauge.SetTrafficBuffer(&buffer);
    for (std::size_t i = 0; i < iterations; ++i) orvalet::bench::KeepAlive(gauge.Icon());
}

ORVALET_WIN_BENCH(FormatTrafficValueWin) {
    for (std::size_t i = 0; i < iterations; ++i)
        orvalet::bench::KeepAlive(orvalet::FormatTrafficValue(1250000 + i, static_cast<int>(i % 4)));
}

ORVALET_WIN_BENCH(GdiTextWidth) {
    orvalet::win32::GdiTextRenderer text;
    const orvalet::TextFont font{L"Tahoma", 10, false, false, 0, 0};
    for (std::size_t i = 0; i < iterations; ++i) orvalet::bench::KeepAlive(text.TextWidth(font, L"1,000.0 kb/s"));
}

}  // namespace
