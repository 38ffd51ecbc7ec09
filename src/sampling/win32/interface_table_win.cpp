#include "sampling/win32/interface_table_win.h"

#include <iterator>
#include <memory>

#include "base/win32/system_function_win.h"
#include "sampling/win32/guid_win.h"

namespace orvalet::win32 {
namespace {

// The length of the text in a fixed-size, NUL-terminated character field: up
// to the first NUL, and never past the end of the field even when the NUL is
// missing.
std::size_t FieldTextLength(const wchar_t* field, std::size_t fieldLength) noexcept {
    std::size_t length = 0;
    while (length < fieldLength && field[length] != L'\0') ++length;
    return length;
}

std::uint32_t FlagBits(const MIB_IF_ROW2& row) noexcept {
    const auto& flags = row.InterfaceAndOperStatusFlags;
    const auto bit = [](bool set, int position) { return set ? std::uint32_t{1} << position : 0u; };
    return bit(flags.HardwareInterface, kHardwareInterfaceBit) | bit(flags.FilterInterface, kFilterInterfaceBit) |
           bit(flags.ConnectorPresent, 2) | bit(flags.NotAuthenticated, 3) | bit(flags.NotMediaConnected, 4) |
           bit(flags.Paused, 5) | bit(flags.LowPower, 6) | bit(flags.EndPointInterface, 7);
}

}  // namespace

bool IsRunningUnderWine() noexcept {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

IpHelperFunctions SystemIpHelperFunctions() noexcept {
    constexpr const wchar_t* kLibrary = L"iphlpapi.dll";
    return {OnDemandSystemFunction<decltype(&::GetIfTable2)>(kLibrary, "GetIfTable2"),
            OnDemandSystemFunction<decltype(&::FreeMibTable)>(kLibrary, "FreeMibTable")};
}

IpHelperInterfaceTable::IpHelperInterfaceTable()
    : IpHelperInterfaceTable(SystemIpHelperFunctions(),
                             IsRunningUnderWine() ? OctetCounters::All : OctetCounters::Unicast) {}

IpHelperInterfaceTable::IpHelperInterfaceTable(IpHelperFunctions functions, OctetCounters counters) noexcept
    : functions_(functions), counters_(counters) {}

bool IpHelperInterfaceTable::Read(std::vector<InterfaceRow>& rows) {
    if (!functions_.GetIfTable2 || !functions_.FreeMibTable) return false;
    MIB_IF_TABLE2* table = nullptr;
    const NETIO_STATUS status = functions_.GetIfTable2(&table);
    // Whatever the call left behind is freed exactly once, on every path out,
    // including a copy that throws part-way.
    const std::unique_ptr<MIB_IF_TABLE2, decltype(functions_.FreeMibTable)> owner(table, functions_.FreeMibTable);
    if (status != NO_ERROR || !table) return false;

    rows.resize(table->NumEntries);
    for (ULONG i = 0; i < table->NumEntries; ++i) CopyInterfaceRow(table->Table[i], counters_, rows[i]);
    return true;
}

void CopyInterfaceRow(const MIB_IF_ROW2& from, OctetCounters counters, InterfaceRow& to) {
    to.InterfaceGuid = FromWin32Guid(from.InterfaceGuid);
    to.Description.assign(from.Description, FieldTextLength(from.Description, std::size(from.Description)));
    to.InterfaceAndOperStatusFlags = FlagBits(from);
    to.OperStatus = static_cast<std::uint32_t>(from.OperStatus);
    to.TransmitLinkSpeed = from.TransmitLinkSpeed;
    to.ReceiveLinkSpeed = from.ReceiveLinkSpeed;
    const bool all = counters == OctetCounters::All;
    to.InUcastOctets = all ? from.InOctets : from.InUcastOctets;
    to.OutUcastOctets = all ? from.OutOctets : from.OutUcastOctets;
}

}  // namespace orvalet::win32
