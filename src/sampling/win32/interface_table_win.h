#pragma once
// The interface table of IP Helper (GetIfTable2) as a table source for the
// collector.
#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>

#include <vector>

#include "sampling/interface_table.h"

namespace orvalet::win32 {

// The two IP Helper calls the source makes; tests substitute their own.
// Where either is missing, every reading fails.
struct IpHelperFunctions {
    decltype(&::GetIfTable2) GetIfTable2 = nullptr;
    decltype(&::FreeMibTable) FreeMibTable = nullptr;
};

// The system's IP Helper functions, from iphlpapi.dll loaded from the system
// directory: it is no known DLL, so as a static import it would be looked
// for beside the exe first.
IpHelperFunctions SystemIpHelperFunctions() noexcept;

// Which counters of a row the source hands over as the unicast octets.
enum class OctetCounters {
    Unicast,  // InUcastOctets / OutUcastOctets
    All,      // InOctets / OutOctets, for Wine, whose unicast counters stay 0
};

// Whether the program runs under Wine (ntdll exports wine_get_version).
bool IsRunningUnderWine() noexcept;

class IpHelperInterfaceTable final : public InterfaceTableSource {
public:
    // The system's IP Helper; the all-octet counters under Wine, the unicast
    // ones on Windows.
    IpHelperInterfaceTable();
    IpHelperInterfaceTable(IpHelperFunctions functions, OctetCounters counters) noexcept;

    bool Read(std::vector<InterfaceRow>& rows) override;

private:
    IpHelperFunctions functions_;
    OctetCounters counters_;
};

// Copies the fields the collector reads, reusing the target's storage.
void CopyInterfaceRow(const MIB_IF_ROW2& from, OctetCounters counters, InterfaceRow& to);

}  // namespace orvalet::win32
