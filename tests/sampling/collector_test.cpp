#include "sampling/collector.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/scripted_interface_table.h"

namespace orvalet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace orvalet::testing;

constexpr std::int32_t FetchFailed = kMonitoringErrorFetchFailed;
constexpr std::int32_t NothingToMonitor = kMonitoringErrorNothingToMonitor;
constexpr std::uint64_t Gigabit = 1'000'000'000;
const Guid Ethernet = TestGuid(1), Wifi = TestGuid(2), Loopback = TestGuid(3);

// Download, upload, link speed and success of the last reading.
using Reading = std::tuple<std::uint64_t, std::uint64_t, std::uint64_t, bool>;

class CollectorTest : public ::testing::Test {
protected:
    // Primes a collector from the current script; the selection and the handler come after.
    TIPHLPCollector& Start(const Guid& selection = AllHardwareInterfacesGUID) {
        c_ = std::make_unique<TIPHLPCollector>(table_.MakeSource());
        c_->SetInterfaceToMonitor(selection);
        AttachHandler();
        return *c_;
    }
    void AttachHandler() {
        c_->SetOnMonitoringError([this](TIPHLPCollector& sender, std::int32_t code) {
            EXPECT_EQ(&sender, c_.get());
            problems_.push_back(code);
        });
    }
    Reading Last() const {
        return {c_->Download(), c_->Upload(), c_->BandwidthTotal(), c_->LastMonitoringSuccessful()};
    }
    Reading Tick() {
        c_->Update();
        return Last();
    }
    // One reading per entry, the table failing or not.
    void Readings(std::initializer_list<bool> failing) {
        for (bool fails : failing) {
            table_.SetFailing(fails);
            c_->Update();
        }
    }
    std::vector<std::int32_t> TakeProblems() { return std::exchange(problems_, {}); }

    ScriptedInterfaceTable table_;
    std::unique_ptr<TIPHLPCollector> c_;
    std::vector<std::int32_t> problems_;
};

TEST_F(CollectorTest, MeasuresTrafficSinceThePreviousReadingAndRestartsFromAResetCounter) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 5'000'000, 7'000'000, Gigabit)});
    Start();
    EXPECT_EQ(table_.ReadCount(), 1);
    EXPECT_EQ(Last(), Reading(0, 0, Gigabit, true));
    table_.AddTraffic(Ethernet, 1500, 300);
    EXPECT_EQ(Tick(), Reading(1500, 300, Gigabit, true));
    EXPECT_EQ(Tick(), Reading(0, 0, Gigabit, true));

    table_.Row(Ethernet).InUcastOctets = 400;  // reset; the sent counter stays put
    EXPECT_EQ(Tick(), Reading(0, 0, Gigabit, true));
    table_.AddTraffic(Ethernet, 50, 20);
    EXPECT_EQ(Tick(), Reading(50, 20, Gigabit, true));  // from 400, not from the old counter

    const std::uint64_t high = (std::uint64_t{1} << 63) + 10;  // plain unsigned numbers
    table_.Row(Ethernet).InUcastOctets = high;
    EXPECT_EQ(std::get<0>(Tick()), high - 450);
    table_.Row(Ethernet).InUcastOctets = UINT64_MAX;
    EXPECT_EQ(std::get<0>(Tick()), UINT64_MAX - high);
    EXPECT_THAT(problems_, IsEmpty());
}

TEST_F(CollectorTest, InterfacesThatAppearLateOrComeBackCountFromTheirLastReading) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100)});
    TIPHLPCollector& c = Start(Wifi);
    EXPECT_EQ(c.GetMonitoredIFName(), L"[NONE]");
    table_.Rows().push_back(HardwareRow(Wifi, L"Wi-Fi", 4000, 600));
    EXPECT_EQ(Tick(), Reading(4000, 600, 0, true));
    table_.AddTraffic(Wifi, 10, 1);
    EXPECT_EQ(Tick(), Reading(10, 1, 0, true));

    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100)});  // unplugged
    EXPECT_EQ(Tick(), Reading(0, 0, 0, false));
    EXPECT_EQ(c.GetMonitoredIFName(), L"[NONE]");
    EXPECT_THAT(TakeProblems(), ElementsAre(NothingToMonitor));

    table_.Rows().push_back(HardwareRow(Wifi, L"Wi-Fi", 4310, 801));  // back, after more traffic
    EXPECT_EQ(Tick(), Reading(300, 200, 0, true));
    EXPECT_EQ(c.GetMonitoredIFName(), L"Wi-Fi");
}

TEST_F(CollectorTest, FailedReadingsZeroEverythingOnceAndTheNextGoodOneCarriesTheWholeGap) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100, 1000)});
    TIPHLPCollector& c = Start();
    table_.SetFailing(true);
    for (int i = 0; i < 3; ++i) {
        table_.AddTraffic(Ethernet, 10, 1);
        EXPECT_EQ(Tick(), Reading(0, 0, 0, false));
        EXPECT_THAT(c.GetInterfaceList(false), IsEmpty());
        EXPECT_THAT(c.GetInterfaceList(true), IsEmpty());
        EXPECT_EQ(c.GetMonitoredIFName(), L"All Hardware Interfaces");
    }
    EXPECT_THAT(TakeProblems(), ElementsAre(FetchFailed, NothingToMonitor));

    const std::vector<InterfaceRow> rows = table_.Rows();
    table_.SetFailing(false);
    table_.SetRows({});  // an empty table fails too, but not anew
    EXPECT_EQ(Tick(), Reading(0, 0, 0, false));
    EXPECT_THAT(TakeProblems(), IsEmpty());
    table_.SetRows(rows);
    EXPECT_EQ(Tick(), Reading(30, 3, 1000, true));
}

TEST_F(CollectorTest, AfterAFailedPrimingTheFirstGoodReadingPrimesWhileInterfacesThatAppearLaterCountFromZero) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 40 * Gigabit, 9 * Gigabit, Gigabit)});  // since boot
    table_.SetFailing(true);
    Start();
    EXPECT_EQ(Tick(), Reading(0, 0, 0, false));
    table_.SetFailing(false);
    const std::vector<InterfaceRow> rows = table_.Rows();
    table_.SetRows({});  // read, but empty: primes nothing
    EXPECT_EQ(Tick(), Reading(0, 0, 0, false));
    table_.SetRows(rows);
    table_.AddTraffic(Ethernet, 100, 10);
    EXPECT_EQ(Tick(), Reading(0, 0, Gigabit, true)) << "primes, instead of a since-boot spike";
    table_.AddTraffic(Ethernet, 1500, 300);
    EXPECT_EQ(Tick(), Reading(1500, 300, Gigabit, true));

    table_.Rows().push_back(HardwareRow(Wifi, L"Wi-Fi", 4000, 600));  // plugged in now: all of it is new
    table_.SetFailing(true);
    EXPECT_EQ(Tick(), Reading(0, 0, 0, false));
    table_.SetFailing(false);
    EXPECT_EQ(Tick(), Reading(4000, 600, Gigabit, true));
}

TEST_F(CollectorTest, ProblemsAreRaisedAgainOnlyAfterTheyClearedAndNotReplayedToALaterHandler) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet")});
    Start();
    Readings({true, true, false, true});
    EXPECT_THAT(TakeProblems(), ElementsAre(FetchFailed, NothingToMonitor, FetchFailed, NothingToMonitor));
    table_.Row(Ethernet).OperStatus = OperStatusDown;  // readable, nothing to count: clears only the fetch problem
    Readings({false, true});
    EXPECT_THAT(TakeProblems(), ElementsAre(FetchFailed));

    table_.SetFailing(true);
    Start();  // priming fails unheard
    Readings({true});
    table_.Row(Ethernet).OperStatus = kOperStatusUp;
    c_->SetOnMonitoringError(nullptr);  // detached, problems still count as raised
    Readings({true, false, true});
    AttachHandler();
    Readings({true});
    EXPECT_THAT(TakeProblems(), IsEmpty());
    Readings({false, true});
    EXPECT_THAT(TakeProblems(), ElementsAre(FetchFailed, NothingToMonitor));
}

TEST_F(CollectorTest, ADownOrUnknownSelectionMeasuresNothingAndRaisesNothingToMonitorOnce) {
    const struct {
        Guid selection;
        std::uint32_t status;  // of Ethernet; anything but 1 is not up
        const wchar_t* name;
    } cases[] = {{Ethernet, OperStatusDown, L"Ethernet [DISABLED]"}, {Ethernet, 0, L"Ethernet [DISABLED]"},
                 {Ethernet, 7, L"Ethernet [DISABLED]"}, {Ethernet, 0xFFFFFFFFu, L"Ethernet [DISABLED]"},
                 {TestGuid(99), kOperStatusUp, L"[NONE]"}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name + std::to_wstring(test.status));
        table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100, 1000), HardwareRow(Wifi, L"Wi-Fi", 100, 100, 1)});
        table_.Row(Ethernet).OperStatus = test.status;
        Start(test.selection);
        EXPECT_EQ(c_->GetMonitoredIFName(), test.name);
        table_.AddTraffic(Ethernet, 10, 10);
        table_.AddTraffic(Wifi, 10, 10);
        EXPECT_EQ(Tick(), Reading(0, 0, 0, false));
        EXPECT_EQ(Tick(), Reading(0, 0, 0, false));
        EXPECT_THAT(TakeProblems(), ElementsAre(NothingToMonitor));
    }
}

TEST_F(CollectorTest, TheSelectionDecidesWhatIsCountedFromTheNextReadingOn) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet"), SoftwareRow(Loopback, L"Loopback"),
                    HardwareRow(Wifi, L"Wi-Fi")});
    // Each counted interface adds its faster direction to the link speed.
    table_.Row(Ethernet).ReceiveLinkSpeed = 100'000'000;
    table_.Row(Ethernet).TransmitLinkSpeed = 100;
    table_.Row(Wifi).ReceiveLinkSpeed = 300;
    table_.Row(Wifi).TransmitLinkSpeed = 866'700'000;
    table_.Row(Loopback).TransmitLinkSpeed = 1000 * Gigabit;
    TIPHLPCollector& c = Start();
    table_.AddTraffic(Ethernet, 100, 10);
    table_.AddTraffic(Loopback, 5000, 5000);
    table_.AddTraffic(Wifi, 200, 20);
    EXPECT_EQ(Tick(), Reading(300, 30, 966'700'000, true));  // the up hardware interfaces only

    c.SetInterfaceToMonitor(Loopback);
    EXPECT_EQ(Last(), Reading(300, 30, 966'700'000, true));  // nothing changes before the next reading
    table_.AddTraffic(Loopback, 70, 80);
    table_.AddTraffic(Ethernet, 1, 1);
    EXPECT_EQ(Tick(), Reading(70, 80, 1000 * Gigabit, true));
    EXPECT_EQ(c.GetMonitoredIFName(), L"Loopback");

    c.SetInterfaceToMonitor(AllHardwareInterfacesGUID);
    table_.Row(Wifi).OperStatus = OperStatusDown;
    table_.AddTraffic(Ethernet, 1, 1);
    table_.AddTraffic(Wifi, 200, 20);
    EXPECT_EQ(Tick(), Reading(1, 1, 100'000'000, true));
    table_.Row(Ethernet).OperStatus = OperStatusDown;
    EXPECT_EQ(Tick(), Reading(0, 0, 0, false));
    EXPECT_EQ(c.GetMonitoredIFName(), L"All Hardware Interfaces");
    EXPECT_THAT(TakeProblems(), ElementsAre(NothingToMonitor));
}

// Every lightweight filter bound to an adapter (WFP, QoS packet scheduler) shows
// up as one more up row with the hardware flag, mirroring the adapter's counters.
TEST_F(CollectorTest, ListsFollowTheTableOrderAndFilterRowsAreNotHardware) {
    const Guid spare = TestGuid(4), wfp = TestGuid(10), qos = TestGuid(11);
    const auto filter = [](const Guid& guid, const wchar_t* name) {
        InterfaceRow row = HardwareRow(guid, name, 1000, 500, Gigabit);
        row.InterfaceAndOperStatusFlags |= FilterFlag;
        return row;
    };
    table_.SetRows({SoftwareRow(Loopback, L"Loopback"), HardwareRow(Wifi, L"Wi-Fi"), HardwareRow(spare, L"Spare"),
                    HardwareRow(Ethernet, L"Intel(R) Ethernet", 1000, 500, Gigabit),
                    filter(wfp, L"Intel(R) Ethernet-WFP Native MAC Layer LightWeight Filter-0000"),
                    filter(qos, L"Intel(R) Ethernet-QoS Packet Scheduler-0000")});
    table_.Row(spare).OperStatus = OperStatusDown;
    TIPHLPCollector& c = Start();
    EXPECT_THAT(c.GetInterfaceList(true),
                ElementsAre(TIFListItem{Wifi, L"Wi-Fi"}, TIFListItem{Ethernet, L"Intel(R) Ethernet"}));
    std::vector<Guid> all;
    for (const TIFListItem& item : c.GetInterfaceList(false)) all.push_back(item.ID);
    EXPECT_THAT(all, ElementsAre(Loopback, Wifi, spare, Ethernet, wfp, qos));

    for (const Guid& guid : {Ethernet, wfp, qos}) table_.AddTraffic(guid, 300, 40);
    EXPECT_EQ(Tick(), Reading(300, 40, Gigabit, true));
    c.SetInterfaceToMonitor(qos);  // chosen by its own GUID, a filter row is monitored like any interface
    for (const Guid& guid : {Ethernet, wfp, qos}) table_.AddTraffic(guid, 7, 8);
    EXPECT_EQ(Tick(), Reading(7, 8, Gigabit, true));
    EXPECT_EQ(c.GetMonitoredIFName(), L"Intel(R) Ethernet-QoS Packet Scheduler-0000");
}

TEST(Collector, WithoutATableSourceEveryReadingFailsAndProblemCodesHaveTheirMessages) {
    TIPHLPCollector collector(nullptr);
    std::vector<std::int32_t> problems;
    collector.SetOnMonitoringError([&](TIPHLPCollector&, std::int32_t code) { problems.push_back(code); });
    collector.Update();
    EXPECT_THAT(problems, IsEmpty());  // already raised, unheard, while priming
    EXPECT_FALSE(collector.LastMonitoringSuccessful());
    EXPECT_THAT(collector.GetInterfaceList(false), IsEmpty());
    EXPECT_EQ(collector.InterfaceToMonitor(), AllHardwareInterfacesGUID);

    EXPECT_EQ(MonitoringErrorMessages(1), L"Error monitoring currently selected interface(s)");
    EXPECT_EQ(MonitoringErrorMessages(2), L"Nothing to monitor!");
    EXPECT_TRUE(MonitoringErrorMessages(0).empty());
    EXPECT_TRUE(MonitoringErrorMessages(3).empty());
}

}  // namespace
}  // namespace orvalet
