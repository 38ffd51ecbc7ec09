#pragma once
// The seam between the collector and the operating system's interface table:
// a source hands over, per interface, only the fields the collector reads.
#include <cstdint>
#include <string>
#include <vector>

#include "sampling/guid.h"

namespace orvalet {

// Bits of InterfaceRow::InterfaceAndOperStatusFlags, as the system lays them out.
inline constexpr int kHardwareInterfaceBit = 0;
inline constexpr int kFilterInterfaceBit = 1;

// The operational status "up"; every other value means not operational.
inline constexpr std::uint32_t kOperStatusUp = 1;

struct InterfaceRow {
    Guid InterfaceGuid;
    std::wstring Description;  // display name; never contains a NUL
    std::uint32_t InterfaceAndOperStatusFlags = 0;
    std::uint32_t OperStatus = 0;
    std::uint64_t TransmitLinkSpeed = 0;  // bits per second
    std::uint64_t ReceiveLinkSpeed = 0;   // bits per second
    std::uint64_t InUcastOctets = 0;      // received bytes, running counter
    std::uint64_t OutUcastOctets = 0;     // sent bytes, running counter
};

class InterfaceTableSource {
public:
    virtual ~InterfaceTableSource() = default;

    // Reads the whole table in the system's order. On success rows holds
    // exactly its rows (possibly none) and the result is true; on failure the
    // result is false and rows must not be used.
    virtual bool Read(std::vector<InterfaceRow>& rows) = 0;
};

}  // namespace orvalet
