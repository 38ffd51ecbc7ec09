#include "sampling/win32/interface_table_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <set>
#include <vector>

#include "sampling/collector.h"
#include "sampling/win32/guid_win.h"

namespace orvalet::win32 {
namespace {

using ::testing::Contains;

// A stand-in for IP Helper: hands out a table built by the test and counts
// the frees. Plain functions, since the source takes function pointers.
struct FakeIpHelper {
    static inline NETIO_STATUS status = NO_ERROR;
    static inline std::vector<MIB_IF_ROW2> rows;
    static inline bool handOutTable = true;
    static inline int frees = 0;
    static inline void* lastTable = nullptr;

    static NETIO_STATUS WINAPI GetIfTable2(PMIB_IF_TABLE2* table) {
        *table = nullptr;
        if (handOutTable) {
            const std::size_t size = offsetof(MIB_IF_TABLE2, Table) + sizeof(MIB_IF_ROW2) * (rows.size() + 1);
            auto* built = static_cast<MIB_IF_TABLE2*>(std::calloc(1, size));
            built->NumEntries = static_cast<ULONG>(rows.size());
            if (!rows.empty()) std::memcpy(built->Table, rows.data(), sizeof(MIB_IF_ROW2) * rows.size());
            *table = built;
            lastTable = built;
        }
        return status;
    }
    static VOID WINAPI FreeMibTable(PVOID memory) {
        EXPECT_EQ(memory, lastTable);
        ++frees;
        std::free(memory);
    }
    static void Reset() {
        status = NO_ERROR;
        rows.clear();
        handOutTable = true;
        frees = 0;
        lastTable = nullptr;
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

class FakeTableTest : public ::testing::Test {
protected:
    void SetUp() override { FakeIpHelper::Reset(); }
    void TearDown() override { FakeIpHelper::Reset(); }

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
    FakeIpHelper::rows = {adapter, SystemRow(0xAAAA0002, L"Loopback")};

    std::vector<InterfaceRow> rows;
    ASSERT_TRUE(Source().Read(rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].InterfaceGuid, FromWin32Guid(adapter.InterfaceGuid));
    EXPECT_EQ(rows[0].InterfaceGuid.ToString(), L"{AAAA0001-1234-5678-0102-030405060708}");
    EXPECT_EQ(rows[0].Description, L"Intel(R) Ethernet");
    EXPECT_EQ(rows[0].InterfaceAndOperStatusFlags, 0b1000'0011u);
    EXPECT_EQ(rows[0].OperStatus, static_cast<std::uint32_t>(IfOperStatusDormant));
    EXPECT_EQ(rows[0].TransmitLinkSpeed, 100u);
    EXPECT_EQ(rows[0].ReceiveLinkSpeed, 1'000'000'000u);
    EXPECT_EQ(rows[0].InUcastOctets, 0xFFFF'FFFF'FFFF'FFF0u);
    EXPECT_EQ(rows[0].OutUcastOctets, 7u);
    EXPECT_EQ(rows[1].Description, L"Loopback");
    EXPECT_EQ(rows[1].InterfaceAndOperStatusFlags, 0u);
    EXPECT_EQ(rows[1].OperStatus, OperStatusUp);

    ASSERT_TRUE(Source(OctetCounters::All).Read(rows));
    EXPECT_EQ(rows[0].InUcastOctets, 111u);
    EXPECT_EQ(rows[0].OutUcastOctets, 222u);
    EXPECT_EQ(FakeIpHelper::frees, 2);
}

TEST_F(FakeTableTest, DescriptionsEndAtTheFirstNulAndNeverRunPastTheField) {
    MIB_IF_ROW2 unterminated = SystemRow(1, L"");
    std::fill(std::begin(unterminated.Description), std::end(unterminated.Description), L'W');
    MIB_IF_ROW2 early = SystemRow(2, L"Wi-Fi");
    early.Description[10] = L'X';  // leftovers after the NUL
    FakeIpHelper::rows = {unterminated, early};

    std::vector<InterfaceRow> rows;
    ASSERT_TRUE(Source().Read(rows));
    EXPECT_EQ(rows[0].Description, std::wstring(257, L'W'));
    EXPECT_EQ(rows[1].Description, L"Wi-Fi");
}

TEST_F(FakeTableTest, EveryTableHandedOutIsFreedExactlyOnce) {
    FakeIpHelper::rows = {SystemRow(1, L"Ethernet")};
    std::vector<InterfaceRow> rows;
    IpHelperInterfaceTable source = Source();

    EXPECT_TRUE(source.Read(rows));
    EXPECT_EQ(FakeIpHelper::frees, 1);

    FakeIpHelper::rows.clear();  // empty, but still a table to free
    EXPECT_TRUE(source.Read(rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(FakeIpHelper::frees, 2);

    FakeIpHelper::status = ERROR_NOT_ENOUGH_MEMORY;  // failure that leaves a table behind
    EXPECT_FALSE(source.Read(rows));
    EXPECT_EQ(FakeIpHelper::frees, 3);

    FakeIpHelper::handOutTable = false;  // failure without a table
    EXPECT_FALSE(source.Read(rows));
    EXPECT_EQ(FakeIpHelper::frees, 3);

    FakeIpHelper::status = NO_ERROR;  // "success" without a table
    EXPECT_FALSE(source.Read(rows));
    EXPECT_EQ(FakeIpHelper::frees, 3);
}

// The real table of the machine, read through IP Helper.
class SystemTableTest : public ::testing::Test {
protected:
    // The loopback interface as the system reports it, or no value.
    static std::optional<MIB_IF_ROW2> SystemLoopback() {
        MIB_IF_TABLE2* table = nullptr;
        if (::GetIfTable2(&table) != NO_ERROR || !table) return std::nullopt;
        std::optional<MIB_IF_ROW2> loopback;
        for (ULONG i = 0; i < table->NumEntries && !loopback; ++i)
            if (table->Table[i].Type == IF_TYPE_SOFTWARE_LOOPBACK) loopback = table->Table[i];
        ::FreeMibTable(table);
        return loopback;
    }
};

TEST_F(SystemTableTest, ListsLoopbackAmongAllInterfacesButNotAmongHardware) {
    const std::optional<MIB_IF_ROW2> loopback = SystemLoopback();
    ASSERT_TRUE(loopback.has_value());
    const Guid loopbackGuid = FromWin32Guid(loopback->InterfaceGuid);

    TIPHLPCollector collector(std::make_unique<IpHelperInterfaceTable>());
    const TIFList all = collector.GetInterfaceList(false);
    const TIFList hardware = collector.GetInterfaceList(true);
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
    EXPECT_THAT(all, Contains(TIFListItem{loopbackGuid, TextOfField(loopback->Description, 257)}));
    for (const TIFListItem& item : hardware) EXPECT_NE(item.ID, loopbackGuid);
    EXPECT_LE(hardware.size(), all.size());
}

TEST_F(SystemTableTest, TwoReadingsInARowMonitorLoopback) {
    const std::optional<MIB_IF_ROW2> loopback = SystemLoopback();
    ASSERT_TRUE(loopback.has_value());

    TIPHLPCollector collector(std::make_unique<IpHelperInterfaceTable>());
    collector.SetInterfaceToMonitor(FromWin32Guid(loopback->InterfaceGuid));
    int problems = 0;
    collector.SetOnMonitoringError([&](TIPHLPCollector&, std::int32_t) { ++problems; });
    for (int reading = 0; reading < 2; ++reading) {
        collector.Update();
        EXPECT_TRUE(collector.LastMonitoringSuccessful()) << reading;
        EXPECT_EQ(collector.GetMonitoredIFName(), TextOfField(loopback->Description, 257));
        EXPECT_FALSE(collector.GetInterfaceList(false).empty());
    }
    EXPECT_EQ(problems, 0);
}

TEST_F(SystemTableTest, UnderWineTheAllOctetCountersStandInForTheUnicastOnes) {
    if (!IsRunningUnderWine()) GTEST_SKIP() << "Windows reports the unicast counters itself";
    const std::optional<MIB_IF_ROW2> loopback = SystemLoopback();
    ASSERT_TRUE(loopback.has_value());
    if (loopback->InOctets == 0) GTEST_SKIP() << "no loopback traffic to compare with";

    std::vector<InterfaceRow> rows;
    ASSERT_TRUE(IpHelperInterfaceTable().Read(rows));
    const Guid loopbackGuid = FromWin32Guid(loopback->InterfaceGuid);
    for (const InterfaceRow& row : rows) {
        if (row.InterfaceGuid != loopbackGuid) continue;
        EXPECT_GE(row.InUcastOctets, loopback->InOctets);  // counters only grow
        EXPECT_GE(row.OutUcastOctets, loopback->OutOctets);
        return;
    }
    ADD_FAILURE() << "loopback missing from the source's rows";
}

}  // namespace
}  // namespace orvalet::win32
