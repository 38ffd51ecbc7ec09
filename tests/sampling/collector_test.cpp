#include "sampling/collector.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "support/scripted_interface_table.h"

namespace orvalet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace orvalet::testing;

constexpr std::int32_t FetchFailed = MonitoringErrorFetchFailed;
constexpr std::int32_t NothingToMonitor = MonitoringErrorNothingToMonitor;

const Guid Ethernet = TestGuid(1);
const Guid Wifi = TestGuid(2);
const Guid Loopback = TestGuid(3);
const Guid Unknown = TestGuid(99);

class CollectorTest : public ::testing::Test {
protected:
    // Creates the collector, which primes its counters from the current script.
    TIPHLPCollector& Start(const Guid& selection = AllHardwareInterfacesGUID) {
        collector_ = std::make_unique<TIPHLPCollector>(table_.MakeSource());
        collector_->SetInterfaceToMonitor(selection);
        AttachHandler();
        return *collector_;
    }
    void AttachHandler() {
        collector_->SetOnMonitoringError([this](TIPHLPCollector& sender, std::int32_t code) {
            EXPECT_EQ(&sender, collector_.get());
            problems_.push_back(code);
        });
    }
    std::vector<std::int32_t> TakeProblems() { return std::exchange(problems_, {}); }
    static std::vector<Guid> Ids(const TIFList& list) {
        std::vector<Guid> ids;
        for (const TIFListItem& item : list) ids.push_back(item.ID);
        return ids;
    }

    ScriptedInterfaceTable table_;
    std::unique_ptr<TIPHLPCollector> collector_;
    std::vector<std::int32_t> problems_;
};

TEST_F(CollectorTest, FirstUpdateReportsTrafficSincePrimingNotAbsoluteCounters) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 5'000'000, 7'000'000, 1'000'000'000)});
    TIPHLPCollector& collector = Start();
    EXPECT_EQ(table_.ReadCount(), 1);
    EXPECT_EQ(collector.Upload(), 0u);
    EXPECT_EQ(collector.Download(), 0u);
    EXPECT_EQ(collector.BandwidthTotal(), 1'000'000'000u);  // computed while priming
    EXPECT_TRUE(collector.LastMonitoringSuccessful());

    table_.AddTraffic(Ethernet, 1500, 300);
    collector.Update();
    EXPECT_EQ(collector.Download(), 1500u);
    EXPECT_EQ(collector.Upload(), 300u);
    EXPECT_EQ(collector.BandwidthTotal(), 1'000'000'000u);

    collector.Update();  // no traffic in between
    EXPECT_EQ(collector.Download(), 0u);
    EXPECT_EQ(collector.Upload(), 0u);
    EXPECT_THAT(problems_, IsEmpty());
}

TEST_F(CollectorTest, ACounterThatDoesNotGrowGivesZeroAndBecomesTheNewReference) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 1000, 1000)});
    TIPHLPCollector& collector = Start();

    table_.Row(Ethernet).InUcastOctets = 400;  // reset
    table_.Row(Ethernet).OutUcastOctets = 1000;  // unchanged
    collector.Update();
    EXPECT_EQ(collector.Download(), 0u);
    EXPECT_EQ(collector.Upload(), 0u);

    table_.AddTraffic(Ethernet, 50, 20);
    collector.Update();
    EXPECT_EQ(collector.Download(), 50u);  // from 400, not from 1000
    EXPECT_EQ(collector.Upload(), 20u);

    // Counters above 2^63 are plain unsigned numbers.
    const std::uint64_t high = (std::uint64_t{1} << 63) + 10;
    table_.Row(Ethernet).InUcastOctets = high;
    collector.Update();
    EXPECT_EQ(collector.Download(), high - 450);
    table_.Row(Ethernet).InUcastOctets = UINT64_MAX;
    collector.Update();
    EXPECT_EQ(collector.Download(), UINT64_MAX - high);
}

TEST_F(CollectorTest, AnInterfaceMetAfterPrimingCountsItsWholeCounterOnce) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100)});
    TIPHLPCollector& collector = Start();

    table_.Rows().push_back(HardwareRow(Wifi, L"Wi-Fi", 4000, 600));
    collector.Update();
    EXPECT_EQ(collector.Download(), 4000u);
    EXPECT_EQ(collector.Upload(), 600u);

    table_.AddTraffic(Wifi, 10, 1);
    collector.Update();
    EXPECT_EQ(collector.Download(), 10u);
    EXPECT_EQ(collector.Upload(), 1u);
}

TEST_F(CollectorTest, AnInterfaceThatComesBackMeasuresFromItsLastReading) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100), HardwareRow(Wifi, L"Wi-Fi", 1000, 1000)});
    TIPHLPCollector& collector = Start(Wifi);

    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100)});  // unplugged
    collector.Update();
    EXPECT_EQ(collector.GetMonitoredIFName(), L"[NONE]");
    EXPECT_THAT(TakeProblems(), ElementsAre(NothingToMonitor));

    table_.Rows().push_back(HardwareRow(Wifi, L"Wi-Fi", 1300, 1200));  // back, after more traffic
    collector.Update();
    EXPECT_EQ(collector.Download(), 300u);
    EXPECT_EQ(collector.Upload(), 200u);
    EXPECT_EQ(collector.GetMonitoredIFName(), L"Wi-Fi");
    EXPECT_TRUE(collector.LastMonitoringSuccessful());
}

TEST_F(CollectorTest, AFailedReadingZeroesTheFiguresAndRaisesBothProblemsOnce) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100, 1000)});
    TIPHLPCollector& collector = Start();
    table_.AddTraffic(Ethernet, 5, 5);

    table_.SetFailing(true);
    collector.Update();
    EXPECT_EQ(collector.Upload(), 0u);
    EXPECT_EQ(collector.Download(), 0u);
    EXPECT_EQ(collector.BandwidthTotal(), 0u);
    EXPECT_FALSE(collector.LastMonitoringSuccessful());
    EXPECT_THAT(TakeProblems(), ElementsAre(FetchFailed, NothingToMonitor));
    EXPECT_THAT(collector.GetInterfaceList(false), IsEmpty());
    EXPECT_THAT(collector.GetInterfaceList(true), IsEmpty());
    EXPECT_EQ(collector.GetMonitoredIFName(), L"All Hardware Interfaces");

    collector.Update();
    EXPECT_THAT(TakeProblems(), IsEmpty());

    table_.SetFailing(false);
    table_.SetRows({});  // an empty table is a failure too, but not a new one
    collector.Update();
    EXPECT_THAT(TakeProblems(), IsEmpty());
    EXPECT_THAT(collector.GetInterfaceList(false), IsEmpty());
}

TEST_F(CollectorTest, TheFirstReadingAfterAGapCarriesTheTrafficOfTheWholeGap) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100)});
    TIPHLPCollector& collector = Start();

    table_.SetFailing(true);
    for (int i = 0; i < 3; ++i) {
        table_.AddTraffic(Ethernet, 10, 1);
        collector.Update();
    }
    table_.SetFailing(false);
    collector.Update();
    EXPECT_EQ(collector.Download(), 30u);
    EXPECT_EQ(collector.Upload(), 3u);
    EXPECT_TRUE(collector.LastMonitoringSuccessful());
}

TEST_F(CollectorTest, ProblemsAreRaisedAgainOnlyAfterTheyCleared) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet")});
    TIPHLPCollector& collector = Start();

    table_.SetFailing(true);
    collector.Update();
    collector.Update();
    table_.SetFailing(false);
    collector.Update();  // clears both
    table_.SetFailing(true);
    collector.Update();
    EXPECT_THAT(TakeProblems(), ElementsAre(FetchFailed, NothingToMonitor, FetchFailed, NothingToMonitor));

    // A readable table with nothing to count clears only the fetch problem.
    table_.SetFailing(false);
    table_.Row(Ethernet).OperStatus = OperStatusDown;
    collector.Update();
    table_.SetFailing(true);
    collector.Update();
    EXPECT_THAT(TakeProblems(), ElementsAre(FetchFailed));
}

TEST_F(CollectorTest, ProblemsFoundWithoutAHandlerAreNotReplayedWhenOneIsAttached) {
    table_.SetFailing(true);
    collector_ = std::make_unique<TIPHLPCollector>(table_.MakeSource());  // priming fails unheard
    AttachHandler();
    collector_->Update();
    EXPECT_THAT(TakeProblems(), IsEmpty());

    table_.SetFailing(false);
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet")});
    collector_->Update();
    table_.SetFailing(true);
    collector_->Update();
    EXPECT_THAT(TakeProblems(), ElementsAre(FetchFailed, NothingToMonitor));

    // Detached, the flags are still set, so nothing comes later either.
    collector_->SetOnMonitoringError(nullptr);
    table_.SetFailing(false);
    collector_->Update();
    table_.SetFailing(true);
    collector_->Update();
    AttachHandler();
    collector_->Update();
    EXPECT_THAT(TakeProblems(), IsEmpty());
}

TEST_F(CollectorTest, ADownInterfaceIsNamedDisabledAndMeasuresNothing) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet", 100, 100, 1000), HardwareRow(Wifi, L"Wi-Fi", 100, 100)});
    table_.Row(Ethernet).OperStatus = OperStatusDown;
    TIPHLPCollector& collector = Start(Ethernet);
    EXPECT_EQ(collector.GetMonitoredIFName(), L"Ethernet [DISABLED]");

    table_.AddTraffic(Ethernet, 10, 10);
    collector.Update();
    collector.Update();
    EXPECT_EQ(collector.Upload(), 0u);
    EXPECT_EQ(collector.Download(), 0u);
    EXPECT_EQ(collector.BandwidthTotal(), 0u);
    EXPECT_FALSE(collector.LastMonitoringSuccessful());
    EXPECT_THAT(TakeProblems(), ElementsAre(NothingToMonitor));

    for (std::uint32_t status : {0u, 3u, 7u, 0xFFFFFFFFu}) {  // anything but 1 is not up
        table_.Row(Ethernet).OperStatus = status;
        collector.Update();
        EXPECT_EQ(collector.GetMonitoredIFName(), L"Ethernet [DISABLED]") << status;
    }
}

TEST_F(CollectorTest, AnUnknownSelectionIsNamedNoneAndRaisesNothingToMonitorOnce) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet")});
    TIPHLPCollector& collector = Start(Unknown);
    EXPECT_EQ(collector.GetMonitoredIFName(), L"[NONE]");
    collector.Update();
    collector.Update();
    EXPECT_THAT(TakeProblems(), ElementsAre(NothingToMonitor));
    EXPECT_FALSE(collector.LastMonitoringSuccessful());
}

TEST_F(CollectorTest, AllHardwareSumsTheUpHardwareInterfacesOnly) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet"), SoftwareRow(Loopback, L"Loopback"),
                    HardwareRow(Wifi, L"Wi-Fi")});
    TIPHLPCollector& collector = Start();
    table_.AddTraffic(Ethernet, 100, 10);
    table_.AddTraffic(Loopback, 5000, 5000);
    table_.AddTraffic(Wifi, 200, 20);
    collector.Update();
    EXPECT_EQ(collector.Download(), 300u);
    EXPECT_EQ(collector.Upload(), 30u);

    table_.Row(Wifi).OperStatus = OperStatusDown;
    table_.AddTraffic(Ethernet, 1, 1);
    table_.AddTraffic(Wifi, 200, 20);
    collector.Update();
    EXPECT_EQ(collector.Download(), 1u);

    table_.Row(Ethernet).OperStatus = OperStatusDown;
    collector.Update();
    EXPECT_EQ(collector.GetMonitoredIFName(), L"All Hardware Interfaces");
    EXPECT_FALSE(collector.LastMonitoringSuccessful());
    EXPECT_THAT(TakeProblems(), ElementsAre(NothingToMonitor));
}

TEST_F(CollectorTest, ASingleSelectionCountsSoftwareInterfacesToo) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet"), SoftwareRow(Loopback, L"Loopback")});
    TIPHLPCollector& collector = Start(Loopback);
    table_.AddTraffic(Loopback, 70, 80);
    table_.AddTraffic(Ethernet, 1, 1);
    collector.Update();
    EXPECT_EQ(collector.Download(), 70u);
    EXPECT_EQ(collector.Upload(), 80u);
    EXPECT_EQ(collector.GetMonitoredIFName(), L"Loopback");
    EXPECT_TRUE(collector.LastMonitoringSuccessful());
}

TEST_F(CollectorTest, ANewSelectionMeasuresFromThePreviousReading) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet"), HardwareRow(Wifi, L"Wi-Fi")});
    TIPHLPCollector& collector = Start(Ethernet);
    table_.AddTraffic(Wifi, 1000, 1000);
    collector.Update();
    EXPECT_EQ(collector.Download(), 0u);

    collector.SetInterfaceToMonitor(Wifi);
    EXPECT_EQ(collector.Download(), 0u);  // no effect before the next reading
    table_.AddTraffic(Wifi, 25, 5);
    collector.Update();
    EXPECT_EQ(collector.Download(), 25u);
    EXPECT_EQ(collector.Upload(), 5u);
}

TEST_F(CollectorTest, BandwidthTotalAddsTheFasterDirectionOfEachCountedInterface) {
    table_.SetRows({HardwareRow(Ethernet, L"Ethernet"), HardwareRow(Wifi, L"Wi-Fi"),
                    SoftwareRow(Loopback, L"Loopback")});
    table_.Row(Ethernet).TransmitLinkSpeed = 100;
    table_.Row(Ethernet).ReceiveLinkSpeed = 100'000'000;
    table_.Row(Wifi).TransmitLinkSpeed = 866'700'000;
    table_.Row(Wifi).ReceiveLinkSpeed = 300;
    table_.Row(Loopback).TransmitLinkSpeed = 1'000'000'000'000;
    TIPHLPCollector& collector = Start();
    EXPECT_EQ(collector.BandwidthTotal(), 966'700'000u);

    collector.SetInterfaceToMonitor(Wifi);
    collector.Update();
    EXPECT_EQ(collector.BandwidthTotal(), 866'700'000u);
}

TEST_F(CollectorTest, InterfaceListsFollowTheTableOrder) {
    InterfaceRow down = HardwareRow(TestGuid(4), L"Spare port");
    down.OperStatus = OperStatusDown;
    table_.SetRows({SoftwareRow(Loopback, L"Loopback"), HardwareRow(Wifi, L"Wi-Fi"), down,
                    HardwareRow(Ethernet, L"Ethernet")});
    TIPHLPCollector& collector = Start();

    EXPECT_THAT(collector.GetInterfaceList(true),
                ElementsAre(TIFListItem{Wifi, L"Wi-Fi"}, TIFListItem{Ethernet, L"Ethernet"}));
    EXPECT_THAT(Ids(collector.GetInterfaceList(false)), ElementsAre(Loopback, Wifi, TestGuid(4), Ethernet));
}

// Every lightweight filter bound to an adapter (WFP, QoS packet scheduler)
// shows up as one more row with the hardware flag, up, mirroring the
// adapter's counters.
TEST_F(CollectorTest, FilterRowsOfAnAdapterAreNotCountedOrListedAsHardware) {
    const Guid wfp = TestGuid(10), qos = TestGuid(11);
    InterfaceRow adapter = HardwareRow(Ethernet, L"Intel(R) Ethernet", 1000, 500, 1'000'000'000);
    const auto filterOf = [&adapter](const Guid& guid, const wchar_t* name) {
        InterfaceRow row = adapter;
        row.InterfaceGuid = guid;
        row.Description = name;
        row.InterfaceAndOperStatusFlags = HardwareFlag | FilterFlag;
        return row;
    };
    table_.SetRows({adapter, filterOf(wfp, L"Intel(R) Ethernet-WFP Native MAC Layer LightWeight Filter-0000"),
                    filterOf(qos, L"Intel(R) Ethernet-QoS Packet Scheduler-0000")});
    const auto addTraffic = [this, wfp, qos](std::uint64_t received, std::uint64_t sent) {
        for (const Guid& guid : {Ethernet, wfp, qos}) table_.AddTraffic(guid, received, sent);
    };

    TIPHLPCollector& collector = Start();
    EXPECT_EQ(collector.BandwidthTotal(), 1'000'000'000u);
    addTraffic(300, 40);
    collector.Update();
    EXPECT_EQ(collector.Download(), 300u);
    EXPECT_EQ(collector.Upload(), 40u);

    EXPECT_THAT(Ids(collector.GetInterfaceList(true)), ElementsAre(Ethernet));
    EXPECT_THAT(Ids(collector.GetInterfaceList(false)), ElementsAre(Ethernet, wfp, qos));

    // Chosen by its own GUID, a filter row is monitored like any interface.
    collector.SetInterfaceToMonitor(qos);
    addTraffic(7, 8);
    collector.Update();
    EXPECT_EQ(collector.Download(), 7u);
    EXPECT_EQ(collector.Upload(), 8u);
    EXPECT_EQ(collector.GetMonitoredIFName(), L"Intel(R) Ethernet-QoS Packet Scheduler-0000");

    // With the adapter down, the all-hardware sum has nothing left to count.
    collector.SetInterfaceToMonitor(AllHardwareInterfacesGUID);
    table_.Row(Ethernet).OperStatus = OperStatusDown;
    collector.Update();
    EXPECT_FALSE(collector.LastMonitoringSuccessful());
    EXPECT_THAT(TakeProblems(), ElementsAre(NothingToMonitor));
}

TEST(Collector, WithoutATableSourceEveryReadingFails) {
    TIPHLPCollector collector(nullptr);
    std::vector<std::int32_t> problems;
    collector.SetOnMonitoringError([&](TIPHLPCollector&, std::int32_t code) { problems.push_back(code); });
    collector.Update();
    EXPECT_THAT(problems, IsEmpty());  // already raised, unheard, while priming
    EXPECT_FALSE(collector.LastMonitoringSuccessful());
    EXPECT_THAT(collector.GetInterfaceList(false), IsEmpty());
    EXPECT_EQ(collector.InterfaceToMonitor(), AllHardwareInterfacesGUID);
}

TEST(Collector, ProblemCodesHaveTheirMessages) {
    EXPECT_EQ(MonitoringErrorMessages(1), L"Error monitoring currently selected interface(s)");
    EXPECT_EQ(MonitoringErrorMessages(2), L"Nothing to monitor!");
    EXPECT_TRUE(MonitoringErrorMessages(0).empty());
    EXPECT_TRUE(MonitoringErrorMessages(3).empty());
}

}  // namespace
}  // namespace orvalet
