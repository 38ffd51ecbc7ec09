// The meter window driven tick after tick as fast as it goes: the real graph,
// gauge, GDI text and tray icon over a scripted table whose traffic changes
// every tick. Nothing it holds may grow: the process's handles, the live
// icons, bitmaps, fonts and DCs of the project's owners, and, after a
// warm-up, its private memory by no more than 64 KB.
//   ORVALET_SOAK_TICKS=N   ticks to drive (default 2,000; scripts/soak runs 100,000)
#define PSAPI_VERSION 2  // GetProcessMemoryInfo from kernel32
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <memory>
#include <tuple>

#include "rendering/win32/surface_win.h"
#include "shell/meter/win32/main_window_win.h"
#include "support/fuzz.h"
#include "support/main_window_probe.h"
#include "support/meter_sandbox_win.h"
#include "support/process_objects_win.h"
#include "support/scripted_interface_table.h"

namespace orvalet::win32 {
namespace {

using orvalet::testing::FuzzRandom;
using orvalet::testing::HardwareRow;
using orvalet::testing::TestGuid;

constexpr wchar_t kSoakRoot[] = L"Software\\OrvaletTests\\Soak";
constexpr std::int64_t kAllowedGrowth = 64 * 1024;

// The project's own counts of the objects its owners hold.
struct ObjectCounts {
    long icons = 0, bitmaps = 0, fonts = 0, dcs = 0;

    static ObjectCounts Now() {
        return {UniqueIcon::LiveCount() + BuiltIcon::LiveCount(), UniqueBitmap::LiveCount(), UniqueFont::LiveCount(),
                UniqueMemoryDC::LiveCount() + WindowDC::LiveCount()};
    }
    friend bool operator==(const ObjectCounts&, const ObjectCounts&) = default;
    friend void PrintTo(const ObjectCounts& c, std::ostream* out) {
        *out << "icons " << c.icons << ", bitmaps " << c.bitmaps << ", fonts " << c.fonts << ", DCs " << c.dcs;
    }
};

// What the system says about the process. Wine reports private memory only
// as the commit charge.
struct ProcessFigures {
    std::int64_t privateBytes = 0;
    DWORD handles = 0, gdiObjects = 0, userObjects = 0;

    // The memory is read last, after whatever the counting itself takes.
    static ProcessFigures Now() {
        ProcessFigures figures{0, testing::HandleCount(), testing::GdiObjectCount(), testing::UserObjectCount()};
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof memory);
        figures.privateBytes = static_cast<std::int64_t>(std::max(memory.PrivateUsage, memory.PagefileUsage));
        return figures;
    }
    auto Counts() const { return std::tie(handles, gdiObjects, userObjects); }
    friend void PrintTo(const ProcessFigures& f, std::ostream* out) {
        *out << "private bytes " << f.privateBytes << ", handles " << f.handles << ", GDI objects " << f.gdiObjects << ", USER objects " << f.userObjects;
    }
};

int SoakTicks() {
    const char* ticks = std::getenv("ORVALET_SOAK_TICKS");
    return ticks && *ticks ? std::max(std::atoi(ticks), 100) : 2000;
}

// The meter at its defaults, shown, with the real tray icon; only the
// driven ticks sample. Fading is off: the fade timers' worker threads would
// come and go at their own pace, each with a stack that moves the private
// bytes by a megabyte, and they are not part of the tick.
class SoakedMeter {
public:
    SoakedMeter() {
        for (const wchar_t* name : {L"FadingEnabled", L"MouseFadingEnabled"}) sandbox_.Store(name, 0);
        table_.SetRows({HardwareRow(TestGuid(1), L"Soak Adapter", 0, 0, 100'000'000)});
        MainWindowServices services = sandbox_.Services();
        services.createTrayIcon = &CreateTrayIcon;  // the real notification-area icon
        meter_.reset();  // one meter at a time, as in the program
        meter_ = std::make_unique<TOVL_Main>(std::move(services));
        created_ = meter_->Create();
        if (created_) MainWindowProbe::SamplingTimer(*meter_).SetEnabled(false);
    }
    ~SoakedMeter() {
        meter_.reset();
        PumpMessages();
    }
    SoakedMeter(const SoakedMeter&) = delete;
    SoakedMeter& operator=(const SoakedMeter&) = delete;

    bool Created() const { return created_; }

    // Traffic that changes every tick; now and then a second adapter comes
    // and goes, and a reading fails (a balloon).
    void Tick(int tick, FuzzRandom& random) {
        table_.SetFailing(tick % 997 == 0);
        if (tick % 400 == 0) table_.Rows().push_back(HardwareRow(TestGuid(2), L"Soak Dock", 0, 0, 1'000'000'000));
        if (tick % 400 == 200) table_.SetRows({table_.Rows().front()});
        for (InterfaceRow& row : table_.Rows()) {
            const std::uint64_t scale = std::uint64_t{1} << random.Below(24);
            row.InUcastOctets += random.Below(scale);
            row.OutUcastOctets += random.Below(scale);
        }
        meter_->SamplingTick();
        PumpMessages();
    }

private:
    testing::MeterSandbox sandbox_{kSoakRoot};
    testing::ScriptedInterfaceTable& table_ = sandbox_.table;
    std::unique_ptr<TOVL_Main> meter_;
    bool created_ = false;
};

TEST(MainWindowSoak, TicksLeaveHandlesObjectCountsAndMemoryFlat) {
    const int ticks = SoakTicks();
    const int warmUp = std::min(ticks / 4, 2000);
    FuzzRandom random(13006);
    SoakedMeter meter;
    ASSERT_TRUE(meter.Created());

    ObjectCounts objects;
    ProcessFigures process;
    const auto began = std::chrono::steady_clock::now();
    for (int tick = 1; tick <= ticks; ++tick) {
        meter.Tick(tick, random);
        if (tick == warmUp) {
            objects = ObjectCounts::Now();
            process = ProcessFigures::Now();
        }
        if (tick <= warmUp) continue;
        ASSERT_EQ(ObjectCounts::Now(), objects) << "at tick " << tick;
        if (tick % 1000 != 0 && tick != ticks) continue;
        const ProcessFigures now = ProcessFigures::Now();
        ASSERT_EQ(now.Counts(), process.Counts()) << "at tick " << tick;
        ASSERT_LT(now.privateBytes - process.privateBytes, kAllowedGrowth)
            << "at tick " << tick << ": private memory grew from " << process.privateBytes << " to "
            << now.privateBytes;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("[soak] %d ticks in %.1f s (%.0f ticks/s)\n[soak] after %d warm-up ticks: %s; %s\n"
                "[soak] at the end: %s; %s\n",
                ticks, seconds, ticks / seconds, warmUp, ::testing::PrintToString(process).c_str(),
                ::testing::PrintToString(objects).c_str(), ::testing::PrintToString(ProcessFigures::Now()).c_str(),
                ::testing::PrintToString(ObjectCounts::Now()).c_str());
}

}  // namespace
}  // namespace orvalet::win32
