#include "sampling/win32/interface_table_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "sampling/collector.h"
#include "sampling/win32/guid_win.h"
#include "support/fuzz.h"

namespace orvalet::win32 {
namespace {

using ::testing::Contains;
using ::testing::Field;
using ::testing::Not;

struct FakeIpHelperState {
    NETIO_STATUS status = NO_ERROR;
    std::vector<MIB_IF_ROW2> rows;
    bool handOutTable = true;
    int frees = 0;
    void* lastTable = nullptr;
};

// A stand-in for IP Helper: hands out a table built by the test and counts
// the frees. Plain functions, since the source takes function pointers. The
// table ends where an inaccessible page begins, so a read past its last row
// faults.
struct FakeIpHelper {
    static inline FakeIpHelperState s;
    static constexpr std::size_t kPage = 4096;

    static NETIO_STATUS WINAPI GetIfTable2(PMIB_IF_TABLE2* table) {
        *table = nullptr;
        if (s.handOutTable) {
            const std::size_t size = offsetof(MIB_IF_TABLE2, Table) + sizeof(MIB_IF_ROW2) * s.rows.size();
            const std::size_t pages = (size + kPage - 1) / kPage;
            auto* base = static_cast<BYTE*>(::VirtualAlloc(nullptr, (pages + 1) * kPage, MEM_COMMIT, PAGE_READWRITE));
            DWORD previous = 0;
            ::VirtualProtect(base + pages * kPage, kPage, PAGE_NOACCESS, &previous);
            auto* built = reinterpret_cast<MIB_IF_TABLE2*>(base + pages * kPage - size);
            built->NumEntries = static_cast<ULONG>(s.rows.size());
            if (!s.rows.empty()) std::memcpy(built->Table, s.rows.data(), sizeof(MIB_IF_ROW2) * s.rows.size());
            *table = built;
            s.lastTable = built;
        }
        return s.status;
    }
    static VOID WINAPI FreeMibTable(PVOID memory) {
        EXPECT_EQ(memory, s.lastTable);
        ++s.frees;
        MEMORY_BASIC_INFORMATION region{};
        ::VirtualQuery(memory, &region, sizeof(region));
        ::VirtualFree(region.AllocationBase, 0, MEM_RELEASE);
    }
};

MIB_IF_ROW2 SystemRow(std::uint32_t guidData1, const wchar_t* description) {
    MIB_IF_ROW2 row{};
    row.InterfaceGuid = GUID{guidData1, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
    const std::wstring_view text(description);
    std::copy_n(text.begin(), std::min(text.size(), std::size(row.Description) - 1), row.Description);
    row.OperStatus = IfOperStatusUp;
    return row;
}

auto Fields(const InterfaceRow& r) {
    return std::tie(r.InterfaceGuid, r.Description, r.InterfaceAndOperStatusFlags, r.OperStatus,
                    r.TransmitLinkSpeed, r.ReceiveLinkSpeed, r.InUcastOctets, r.OutUcastOctets);
}

class FakeTableTest : public ::testing::Test {
protected:
    FakeTableTest() { FakeIpHelper::s = {}; }
    ~FakeTableTest() override { FakeIpHelper::s = {}; }

    static IpHelperInterfaceTable Source(OctetCounters counters = OctetCounters::Unicast) {
        return IpHelperInterfaceTable({&FakeIpHelper::GetIfTable2, &FakeIpHelper::FreeMibTable}, counters);
    }
};

TEST_F(FakeTableTest, CopiesTheFieldsTheCollectorReads) {
    MIB_IF_ROW2 adapter = SystemRow(0xAAAA0001, L"Intel(R) Ethernet");
    adapter.InterfaceAndOperStatusFlags.HardwareInterface = TRUE;
    adapter.InterfaceAndOperStatusFlags.FilterInterface = TRUE;
    adapter.InterfaceAndOperStatusFlags.EndPointInterface = TRUE;
    adapter.OperStatus = IfOperStatusDormant;
    adapter.TransmitLinkSpeed = 100;
    adapter.ReceiveLinkSpeed = 1'000'000'000;
    adapter.InUcastOctets = 0xFFFF'FFFF'FFFF'FFF0;
    adapter.OutUcastOctets = 7;
    adapter.InOctets = 111;
    adapter.OutOctets = 222;
    // Descriptions end at the first NUL and never run past the field.
    MIB_IF_ROW2 unterminated = SystemRow(2, L"");
    std::fill(std::begin(unterminated.Description), std::end(unterminated.Description), L'W');
    MIB_IF_ROW2 early = SystemRow(3, L"Wi-Fi");
    early.Description[10] = L'X';  // leftovers after the NUL
    FakeIpHelper::s.rows = {adapter, unterminated, early};

    std::vector<InterfaceRow> rows;
    ASSERT_TRUE(Source().Read(rows));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(Fields(rows[0]), Fields(InterfaceRow{*ParseGuid(L"{AAAA0001-1234-5678-0102-030405060708}"),
                                                   L"Intel(R) Ethernet", 0b1000'0011u, IfOperStatusDormant, 100,
                                                   1'000'000'000, 0xFFFF'FFFF'FFFF'FFF0, 7}));
    EXPECT_EQ(Fields(rows[1]), Fields(InterfaceRow{FromWin32Guid(unterminated.InterfaceGuid),
                                                   std::wstring(257, L'W'), 0, kOperStatusUp}));
    EXPECT_EQ(rows[2].Description, L"Wi-Fi");

    ASSERT_TRUE(Source(OctetCounters::All).Read(rows));
    EXPECT_EQ(rows[0].InUcastOctets, 111u);
    EXPECT_EQ(rows[0].OutUcastOctets, 222u);
    EXPECT_EQ(FakeIpHelper::s.frees, 2);
}

TEST_F(FakeTableTest, EveryTableHandedOutIsFreedExactlyOnce) {
    const struct {
        NETIO_STATUS status;
        bool handOutTable;
        bool read;
        int frees;
    } steps[] = {
        {NO_ERROR, true, true, 1},                  // an empty table is still one to free
        {ERROR_NOT_ENOUGH_MEMORY, true, false, 2},  // failure that leaves a table behind
        {ERROR_NOT_ENOUGH_MEMORY, false, false, 2},
        {NO_ERROR, false, false, 2},  // "success" without a table
    };
    IpHelperInterfaceTable source = Source();
    std::vector<InterfaceRow> rows(1);
    for (const auto& step : steps) {
        SCOPED_TRACE(::testing::Message() << step.status << " " << step.handOutTable);
        FakeIpHelper::s.status = step.status;
        FakeIpHelper::s.handOutTable = step.handOutTable;
        EXPECT_EQ(source.Read(rows), step.read);
        EXPECT_EQ(FakeIpHelper::s.frees, step.frees);
        EXPECT_TRUE(!step.read || rows.empty());
    }
}

// A system without either function (looked up at run time) fails every
// reading without calling the other.
TEST_F(FakeTableTest, AMissingFunctionFailsTheReading) {
    const IpHelperFunctions missing[] = {
        {}, {&FakeIpHelper::GetIfTable2, nullptr}, {nullptr, &FakeIpHelper::FreeMibTable}};
    std::vector<InterfaceRow> rows;
    for (const IpHelperFunctions& functions : missing) {
        EXPECT_FALSE(IpHelperInterfaceTable(functions, OctetCounters::Unicast).Read(rows));
        EXPECT_EQ(FakeIpHelper::s.lastTable, nullptr);
    }
}

// Random tables, statuses and missing tables: every row arrives as the system
// wrote it, descriptions stop at their NUL or at the end of their field, and
// every table handed out is freed once.
TEST_F(FakeTableTest, HostileTablesAreReadWithinTheirFieldsAndFreedOnce) {
    const int readings = orvalet::testing::FuzzCount(300, 3000);
    const std::uint64_t seed = orvalet::testing::FuzzSeed("hostile IP Helper tables", 13005, readings);
    orvalet::testing::FuzzRandom random(seed);
    IpHelperInterfaceTable source = Source();
    std::vector<InterfaceRow> rows;
    for (int reading = 0; reading < readings && !HasFailure(); ++reading) {
        SCOPED_TRACE("reading " + std::to_string(reading) + " of " + orvalet::testing::Reproduce(seed));
        FakeIpHelperState& s = FakeIpHelper::s;
        s.status = random.OneIn(8) ? ERROR_NOT_ENOUGH_MEMORY : NO_ERROR;
        s.handOutTable = !random.OneIn(8);
        s.rows.resize(random.OneIn(100) ? 1000 : random.Below(6));
        for (MIB_IF_ROW2& row : s.rows) {
            auto* bytes = reinterpret_cast<BYTE*>(&row);
            for (std::size_t i = 0; i < sizeof(row); ++i) bytes[i] = static_cast<BYTE>(random.Next() | 1);
            row.OperStatus = static_cast<IF_OPER_STATUS>(1 + random.Below(7));
            const std::size_t end = random.Below(std::size(row.Description) + 40);  // past the field: no NUL
            if (end < std::size(row.Description)) row.Description[end] = L'\0';
        }
        const int frees = s.frees;
        ASSERT_EQ(source.Read(rows), s.status == NO_ERROR && s.handOutTable);
        EXPECT_EQ(s.frees - frees, s.handOutTable ? 1 : 0);
        if (s.status != NO_ERROR || !s.handOutTable) continue;
        ASSERT_EQ(rows.size(), s.rows.size());
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const MIB_IF_ROW2& from = s.rows[k];
            const std::wstring_view field(from.Description, std::size(from.Description));
            EXPECT_EQ(rows[k].Description, field.substr(0, field.find(L'\0')));
            EXPECT_EQ(rows[k].InterfaceGuid, FromWin32Guid(from.InterfaceGuid));
            EXPECT_EQ(std::tie(rows[k].InUcastOctets, rows[k].OutUcastOctets, rows[k].TransmitLinkSpeed),
                      std::tie(from.InUcastOctets, from.OutUcastOctets, from.TransmitLinkSpeed));
        }
    }
}

// The loopback interface of the machine's real table, as IP Helper reports it.
std::optional<MIB_IF_ROW2> SystemLoopback() {
    const IpHelperFunctions system = SystemIpHelperFunctions();
    MIB_IF_TABLE2* table = nullptr;
    if (!system.GetIfTable2 || system.GetIfTable2(&table) != NO_ERROR || !table) return std::nullopt;
    std::optional<MIB_IF_ROW2> loopback;
    for (ULONG i = 0; i < table->NumEntries && !loopback; ++i)
        if (table->Table[i].Type == IF_TYPE_SOFTWARE_LOOPBACK) loopback = table->Table[i];
    system.FreeMibTable(table);
    return loopback;
}

TEST(SystemTable, TwoReadingsMonitorLoopbackListedAmongAllInterfacesButNotAmongHardware) {
    const std::optional<MIB_IF_ROW2> loopback = SystemLoopback();
    ASSERT_TRUE(loopback.has_value());
    const TIFListItem expected{FromWin32Guid(loopback->InterfaceGuid), loopback->Description};

    TIPHLPCollector collector(std::make_unique<IpHelperInterfaceTable>());
    collector.SetInterfaceToMonitor(expected.ID);
    int problems = 0;
    collector.SetOnMonitoringError([&](TIPHLPCollector&, std::int32_t) { ++problems; });
    for (int reading = 0; reading < 2; ++reading) {
        collector.Update();
        EXPECT_TRUE(collector.LastMonitoringSuccessful()) << reading;
        EXPECT_EQ(collector.GetMonitoredIFName(), expected.Name);
    }
    EXPECT_EQ(problems, 0);

    const TIFList all = collector.GetInterfaceList(false);
    std::set<std::wstring> ids;
    for (const TIFListItem& item : all) {
        ids.insert(item.ID.ToString());
        EXPECT_NE(item.ID, Guid{});
        EXPECT_NE(item.ID, AllHardwareInterfacesGUID);
        EXPECT_EQ(ParseGuid(item.ID.ToString()), item.ID);
        EXPECT_FALSE(item.Name.empty());
        EXPECT_LE(item.Name.size(), 256u);
        EXPECT_EQ(item.Name.find(L'\0'), std::wstring::npos);
    }
    EXPECT_EQ(ids.size(), all.size()) << "interface GUIDs repeat";
    EXPECT_THAT(all, Contains(expected));
    EXPECT_THAT(collector.GetInterfaceList(true), Not(Contains(Field(&TIFListItem::ID, expected.ID))));

    // Wine's unicast counters stay 0, so there the all-octet counters stand in for them.
    std::vector<InterfaceRow> rows;
    ASSERT_TRUE(IpHelperInterfaceTable().Read(rows));
    const auto row =
        std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.InterfaceGuid == expected.ID; });
    ASSERT_NE(row, rows.end());
    if (IsRunningUnderWine()) {
        EXPECT_GE(row->InUcastOctets, loopback->InOctets);  // counters only grow
        EXPECT_GE(row->OutUcastOctets, loopback->OutOctets);
    }
}

}  // namespace
}  // namespace orvalet::win32
