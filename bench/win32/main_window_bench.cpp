// One whole sampling tick of the meter window at its default size, with the
// real tray icon, GDI text and a scripted interface table with traffic.
#include <windows.h>

#include <memory>

#include "harness.h"
#include "settings/win32/settings_platform_win.h"
#include "shell/meter/win32/main_window_win.h"
#include "support/main_window_probe.h"
#include "support/scripted_interface_table.h"

namespace {

using namespace orvalet;

constexpr wchar_t kBenchRoot[] = L"Software\\OrvaletBench\\MainWindow";

// One meter for every round of the case. It starts hidden: showing a window under Wine without a
// window manager waits for the X server far longer than a tick takes, and a
// hidden meter still renders its graph at the default size every tick.
struct BenchMeter {
    testing::ScriptedInterfaceTable table;
    win32::SystemSettingsPlatform settings{kBenchRoot};
    std::unique_ptr<win32::TOVL_Main> meter;

    BenchMeter() {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kBenchRoot);
        HKEY key = nullptr;
        const DWORD startMinimized = 1;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\OrvaletBench\\MainWindow\\Software\\Orvalet", 0,
                              nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            ::RegSetValueExW(key, L"StartMinimized", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&startMinimized), sizeof startMinimized);
            ::RegCloseKey(key);
        }
        table.SetRows({testing::HardwareRow(testing::TestGuid(1), L"Bench Adapter", 0, 0, 100'000'000)});
        win32::MainWindowServices services;
        services.interfaceTable = table.MakeSource();
        services.settings = &settings;
        services.terminate = [] {};
        meter = std::make_unique<win32::TOVL_Main>(std::move(services));
        meter->Create();
        win32::MainWindowProbe::SamplingTimer(*meter).SetEnabled(false);  // only the measured ticks run
    }
    ~BenchMeter() {
        meter.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kBenchRoot);
    }
};

BenchMeter& Meter() {
    static BenchMeter meter;
    return meter;
}

// Built while the program starts, so the timed rounds hold ticks only.
const bool meterReady = (Meter(), true);

ORVALET_WIN_BENCH(MainWindowSamplingTick) {
    BenchMeter& bench = Meter();
    for (std::size_t i = 0; i < iterations; ++i) {
        bench.table.AddTraffic(testing::TestGuid(1), 1000 + i * 37 % 90000, 500 + i * 11 % 40000);
        bench.meter->SamplingTick();
    }
}

}  // namespace
