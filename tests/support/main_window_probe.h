#pragma once
// The tests' and benchmarks' view of the meter window's parts.
#include "shell/meter/win32/main_window_win.h"
#include "support/message_pump_win.h"

namespace orvalet::win32 {

class MainWindowProbe {
public:
    static TIPHLPCollector& Collector(TOVL_Main& meter) { return *meter.FCollector; }
    static const TTrafficBuffer& TrafficBuffer(TOVL_Main& meter) { return *meter.FBuffer; }
    static TrafficGraphControl& GraphControl(TOVL_Main& meter) { return *meter.FGraph; }
    static TrayGaugeIcon& Gauge(TOVL_Main& meter) { return *meter.FGauge; }
    static TTimerQueueTimer& SamplingTimer(TOVL_Main& meter) { return *meter.PD_Timer; }
    static TTimerQueueTimer& FadeTimer(TOVL_Main& meter) { return *meter.FG_Timer; }
    static TTimerQueueTimer& MouseFadeTimer(TOVL_Main& meter) { return *meter.MF_Timer; }
    static const SizeLimits& SizeConstraints(TOVL_Main& meter) { return meter.FSizeLimits.Limits(); }
    static const ActionList& Actions(TOVL_Main& meter) { return meter.OVL_Actions; }
    static bool SamplingBusy(TOVL_Main& meter) { return meter.PD_isbusy; }
    static const WindowAppearance& Appearance(TOVL_Main& meter) { return meter.FAppearance; }
    static const FadeState& Fade(TOVL_Main& meter) { return meter.FFader->State(); }
    // One tick of the fade timer, as the timer delivers it.
    static void FadeStep(TOVL_Main& meter) { meter.FG_Timer->OnTimer()(); }
    // One poll of the cursor for mouse fading.
    static void MouseFadeStep(TOVL_Main& meter) { meter.MF_Timer->OnTimer()(); }
};

}  // namespace orvalet::win32
