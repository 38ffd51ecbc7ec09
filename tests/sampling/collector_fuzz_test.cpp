#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "sampling/collector.h"
#include "support/fuzz.h"
#include "support/scripted_interface_table.h"

namespace orvalet {
inline void PrintTo(const TIFListItem& item, std::ostream* out) {
    *out << ::testing::PrintToString(item.ID.ToString()) << ' ' << ::testing::PrintToString(item.Name);
}
}  // namespace orvalet

namespace orvalet::testing {
namespace {

struct Figures {
    std::uint64_t download = 0, upload = 0, bandwidth = 0;
    bool successful = false;
    friend bool operator==(const Figures&, const Figures&) = default;
    friend void PrintTo(const Figures& f, std::ostream* out) {
        *out << "down " << f.download << ", up " << f.upload << ", links " << f.bandwidth << ", counted "
             << f.successful;
    }
};

auto GuidKey(const Guid& g) { return std::tie(g.Data1, g.Data2, g.Data3, g.Data4); }
struct GuidLess {
    bool operator()(const Guid& a, const Guid& b) const { return GuidKey(a) < GuidKey(b); }
};

// The first row of every GUID, in table order: the interfaces of a reading.
TIFList Interfaces(const std::vector<InterfaceRow>& rows) {
    TIFList list;
    for (const InterfaceRow& row : rows)
        if (std::ranges::none_of(list, [&](const TIFListItem& item) { return item.ID == row.InterfaceGuid; }))
            list.push_back({row.InterfaceGuid, row.Description});
    return list;
}

bool IsHardwareUp(const InterfaceRow& row) {
    return (row.InterfaceAndOperStatusFlags & (HardwareFlag | FilterFlag)) == HardwareFlag && row.OperStatus == 1;
}

// The collector worked out independently: deltas against each GUID's
// previous counters (0 for a GUID first met after priming), the first
// successful reading priming, and each problem heard once per run.
class CollectorModel {
public:
    // rows is nothing for a failed reading.
    Figures Read(const std::optional<std::vector<InterfaceRow>>& table, const Guid& selection, bool heard) {
        std::vector<const InterfaceRow*> rows;
        for (const TIFListItem& item : Interfaces(table.value_or(std::vector<InterfaceRow>{})))
            rows.push_back(&*std::ranges::find(*table, item.ID, &InterfaceRow::InterfaceGuid));
        Raise(rows.empty(), fetchRaised_, kMonitoringErrorFetchFailed, heard);

        Figures figures;
        for (const InterfaceRow* row : rows) {
            auto& [in, out] = previous_[row->InterfaceGuid];
            const std::uint64_t received = primed_ && row->InUcastOctets > in ? row->InUcastOctets - in : 0;
            const std::uint64_t sent = primed_ && row->OutUcastOctets > out ? row->OutUcastOctets - out : 0;
            std::tie(in, out) = std::pair(row->InUcastOctets, row->OutUcastOctets);
            const bool counted = selection == AllHardwareInterfacesGUID
                                     ? IsHardwareUp(*row)
                                     : row->InterfaceGuid == selection && row->OperStatus == 1;
            if (!counted) continue;
            figures = {figures.download + received, figures.upload + sent,
                       figures.bandwidth + std::max(row->ReceiveLinkSpeed, row->TransmitLinkSpeed), true};
        }
        Raise(!figures.successful, nothingRaised_, kMonitoringErrorNothingToMonitor, heard);
        primed_ = primed_ || !rows.empty();
        return figures;
    }

    std::vector<std::int32_t> problems;

private:
    void Raise(bool problem, bool& raised, std::int32_t code, bool heard) {
        if (problem && !raised && heard) problems.push_back(code);
        raised = problem;
    }

    std::map<Guid, std::pair<std::uint64_t, std::uint64_t>, GuidLess> previous_;
    bool primed_ = false, fetchRaised_ = false, nothingRaised_ = false;
};

// A table that changes for the worse between readings.
class HostileTable {
public:
    explicit HostileTable(FuzzRandom& random) : random_(random) {}

    std::optional<std::vector<InterfaceRow>> Next() {
        if (random_.OneIn(10)) return std::nullopt;
        if (random_.OneIn(30)) return std::vector<InterfaceRow>{};
        if (random_.OneIn(500)) return Crowd();
        if ((random_.OneIn(6) && live_.size() < 12) || live_.empty())
            live_.push_back(NewRow(pool_[random_.Below(std::size(pool_))]));
        if (random_.OneIn(6)) live_.erase(live_.begin() + static_cast<std::ptrdiff_t>(random_.Below(live_.size())));
        if (random_.OneIn(20) && !live_.empty()) std::swap(live_.front(), live_.back());
        for (InterfaceRow& row : live_) {
            Advance(row.InUcastOctets);
            Advance(row.OutUcastOctets);
            if (random_.OneIn(40)) row.OperStatus = random_.Pick(kStatuses);
        }
        return live_;
    }

    Guid Selection() {
        const Guid unknown = TestGuid(99999);
        return random_.OneIn(3) ? AllHardwareInterfacesGUID : random_.OneIn(5) ? unknown : pool_[random_.Below(5)];
    }

private:
    static constexpr std::uint32_t kStatuses[] = {1, 1, 1, 2, 0, 7, UINT32_MAX};
    static constexpr std::uint64_t kSpeeds[] = {0, UINT64_MAX, 1'000'000'000, 100};

    InterfaceRow NewRow(const Guid& guid) {
        const std::uint32_t flags[] = {HardwareFlag, HardwareFlag, 0, HardwareFlag | FilterFlag, 0xFFFFFFFFu};
        std::wstring description(random_.OneIn(10) ? 300 : random_.Below(20), L'd');
        return {guid, description, random_.Pick(flags), random_.Pick(kStatuses), random_.Pick(kSpeeds),
                random_.OneIn(2) ? random_.Next() : random_.Pick(kSpeeds), random_.Next() >> random_.Below(64),
                random_.Next() >> random_.Below(64)};
    }

    // Grows, wraps, resets or jumps to the top.
    void Advance(std::uint64_t& counter) {
        switch (random_.Below(12)) {
        case 0: counter = random_.Below(1000); break;
        case 1: counter = 0; break;
        case 2: counter = UINT64_MAX; break;
        case 3: counter += random_.Next(); break;  // may wrap
        default: counter += random_.Below(1'000'000); break;
        }
    }

    std::vector<InterfaceRow> Crowd() {
        std::vector<InterfaceRow> rows;
        for (std::uint32_t n = 0; n < 1000; ++n) rows.push_back(NewRow(TestGuid(1000 + n % 997)));  // some twice
        return rows;
    }

    FuzzRandom& random_;
    // Six interfaces, one of them the reserved all-hardware GUID, one listed twice.
    const Guid pool_[7] = {TestGuid(1), TestGuid(2), TestGuid(3), TestGuid(4), AllHardwareInterfacesGUID,
                           TestGuid(6), TestGuid(1)};
    std::vector<InterfaceRow> live_;
};

std::wstring ExpectedName(const std::optional<std::vector<InterfaceRow>>& table, const Guid& selection) {
    if (selection == AllHardwareInterfacesGUID) return L"All Hardware Interfaces";
    for (const InterfaceRow& row : table.value_or(std::vector<InterfaceRow>{}))
        if (row.InterfaceGuid == selection) return row.Description + (row.OperStatus == 1 ? L"" : L" [DISABLED]");
    return L"[NONE]";
}

TEST(CollectorFuzz, HostileTablesGiveTheModelsFiguresProblemsNamesAndListsWithEachInterfaceOnce) {
    const int readings = FuzzCount(10000, 100000);
    const std::uint64_t seed = FuzzSeed("hostile interface table readings", 13004, readings);
    FuzzRandom random(seed);
    HostileTable hostile(random);
    ScriptedInterfaceTable script;
    CollectorModel model;
    std::vector<std::int32_t> problems;
    const auto hear = [&](TIPHLPCollector&, std::int32_t code) { problems.push_back(code); };

    auto table = hostile.Next();
    script.SetFailing(!table);
    script.SetRows(table.value_or(std::vector<InterfaceRow>{}));
    TIPHLPCollector collector(script.MakeSource());
    model.Read(table, AllHardwareInterfacesGUID, false);
    collector.SetOnMonitoringError(hear);
    bool heard = true;

    for (int reading = 1; reading <= readings && !::testing::Test::HasFailure(); ++reading) {
        const std::string where = "reading " + std::to_string(reading) + " of " + Reproduce(seed);
        if (random.OneIn(50)) collector.SetInterfaceToMonitor(hostile.Selection());
        if (random.OneIn(200)) {
            heard = !heard;
            collector.SetOnMonitoringError(heard ? TMonitoringErrorMessageProc(hear) : nullptr);
        }
        table = hostile.Next();
        script.SetFailing(!table);
        if (table) script.SetRows(*table);
        collector.Update();
        const Figures expected = model.Read(table, collector.InterfaceToMonitor(), heard);

        ASSERT_EQ((Figures{collector.Download(), collector.Upload(), collector.BandwidthTotal(),
                           collector.LastMonitoringSuccessful()}),
                  expected) << where;
        ASSERT_EQ(std::exchange(problems, {}), std::exchange(model.problems, {})) << where;
        ASSERT_EQ(collector.GetMonitoredIFName(), ExpectedName(table, collector.InterfaceToMonitor())) << where;
        const TIFList all = table ? Interfaces(*table) : TIFList{};
        TIFList hardware;
        std::ranges::copy_if(all, std::back_inserter(hardware), [&](const TIFListItem& item) {
            return IsHardwareUp(*std::ranges::find(*table, item.ID, &InterfaceRow::InterfaceGuid));
        });
        ASSERT_EQ(collector.GetInterfaceList(false), all) << where;
        ASSERT_EQ(collector.GetInterfaceList(true), hardware) << where;
    }
}

}  // namespace
}  // namespace orvalet::testing
