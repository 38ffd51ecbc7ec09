#pragma once
// Reads the interface table once per sampling tick and turns the running byte
// counters into the traffic of the monitored selection since the previous
// reading: one interface chosen by GUID, or the sum of all hardware
// interfaces that are up.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sampling/guid.h"
#include "sampling/interface_table.h"

namespace orvalet {

// Problem codes of OnMonitoringError.
inline constexpr std::int32_t kMonitoringErrorFetchFailed = 1;       // table unreadable or empty
inline constexpr std::int32_t kMonitoringErrorNothingToMonitor = 2;  // nothing counted

// The text that belongs to a problem code; empty for unknown codes.
std::wstring_view MonitoringErrorMessages(std::int32_t code) noexcept;

struct TIFStats {
    Guid ID;
    std::uint64_t Prev_InUcastOctets = 0;
    std::uint64_t Prev_OutUcastOctets = 0;
    std::uint64_t Delta_InUcastOctets = 0;
    std::uint64_t Delta_OutUcastOctets = 0;
    std::uint64_t LastReading = 0;  // number of the reading that last met the interface
};

struct TIFListItem {
    Guid ID;
    std::wstring Name;

    friend bool operator==(const TIFListItem&, const TIFListItem&) = default;
};
using TIFList = std::vector<TIFListItem>;

class TIPHLPCollector;
using TMonitoringErrorMessageProc = std::function<void(TIPHLPCollector& Sender, std::int32_t msg)>;

// True when bit `bit` (0..31) of value is set; other bit numbers give false.
constexpr bool IsBitSet(std::uint32_t value, int bit) noexcept {
    return bit >= 0 && bit < 32 && ((value >> bit) & 1u) != 0;
}

class TIPHLPCollector {
public:
    // Takes the table source and reads it once to prime the counters; if that
    // reading fails, the first one that succeeds primes them. A null source
    // behaves like a table that cannot be read.
    explicit TIPHLPCollector(std::unique_ptr<InterfaceTableSource> source);
    virtual ~TIPHLPCollector() = default;
    TIPHLPCollector(const TIPHLPCollector&) = delete;
    TIPHLPCollector& operator=(const TIPHLPCollector&) = delete;

    // One reading that measures the traffic since the previous one.
    void Update();

    // Takes effect at the next Update.
    const Guid& InterfaceToMonitor() const noexcept { return FInterfaceToMonitor; }
    void SetInterfaceToMonitor(const Guid& guid) noexcept { FInterfaceToMonitor = guid; }

    // Bytes sent and received by the counted interfaces since the previous reading.
    std::uint64_t Upload() const noexcept { return FUpload; }
    std::uint64_t Download() const noexcept { return FDownload; }
    // Sum of the counted interfaces' link speeds, in bits per second.
    std::uint64_t BandwidthTotal() const noexcept { return FBandwidthTotal; }
    bool LastMonitoringSuccessful() const noexcept { return FLastMonitoringSuccessful; }

    // Problems reach the handler once each until they clear; problems found
    // while no handler is assigned are not replayed later.
    const TMonitoringErrorMessageProc& OnMonitoringError() const noexcept { return FOnMonitoringError; }
    void SetOnMonitoringError(TMonitoringErrorMessageProc handler) { FOnMonitoringError = std::move(handler); }

    // Display name of the selection, from the rows of the last reading.
    std::wstring GetMonitoredIFName() const;
    // The same name written over `name` in its own storage, which grows only
    // for a longer name.
    void GetMonitoredIFName(std::wstring& name) const;
    // Interfaces of the last reading in table order, each GUID once (its first
    // row); with hardwareAndEnabledOnly only hardware interfaces that are up
    // (and no filter rows).
    TIFList GetInterfaceList(bool hardwareAndEnabledOnly) const;

protected:
    virtual void DoMonitoringError(std::int32_t code);

private:
    void Init();
    bool FetchInterfaceTable(bool initialize);
    void ComputeTraffic(bool initialize);
    std::size_t GetStatIndex(const Guid& guid);
    bool IsCounted(const InterfaceRow& row) const noexcept;

    std::unique_ptr<InterfaceTableSource> FSource;
    std::vector<InterfaceRow> FIFRows;
    std::vector<TIFStats> FIFStatArray;
    std::int32_t FNumInterfaces = 0;
    std::uint64_t FReadingNumber = 0;
    bool FLastMonitoringSuccessful = false;
    Guid FInterfaceToMonitor = AllHardwareInterfacesGUID;
    std::uint64_t FUpload = 0;
    std::uint64_t FDownload = 0;
    std::uint64_t FBandwidthTotal = 0;
    bool FFetchErrorNotified = false;
    bool FNothingToMonitorErrorNotified = false;
    bool FPrimed = false;  // a reading has succeeded and set the previous counters
    TMonitoringErrorMessageProc FOnMonitoringError;
};

}  // namespace orvalet
