#include "sampling/collector.h"

#include <algorithm>

namespace orvalet {
namespace {

bool IsUp(const InterfaceRow& row) noexcept { return row.OperStatus == kOperStatusUp; }

// A hardware adapter that is up. Lightweight filters bound to an adapter (QoS
// packet scheduler, WFP and the like) appear as extra rows that also carry the
// hardware flag and mirror the adapter's counters; counting them would add the
// adapter's traffic once more for every filter, so they are left out.
bool IsHardwareAdapterUp(const InterfaceRow& row) noexcept {
    const std::uint32_t flags = row.InterfaceAndOperStatusFlags;
    return IsBitSet(flags, kHardwareInterfaceBit) && !IsBitSet(flags, kFilterInterfaceBit) && IsUp(row);
}

// Traffic since the previous reading; a counter that did not grow (reset or
// wrapped) gives 0 and becomes the new reference.
std::uint64_t Advance(std::uint64_t& previous, std::uint64_t current) noexcept {
    const std::uint64_t delta = current > previous ? current - previous : 0;
    previous = current;
    return delta;
}

}  // namespace

std::wstring_view MonitoringErrorMessages(std::int32_t code) noexcept {
    switch (code) {
    case kMonitoringErrorFetchFailed: return L"Error monitoring currently selected interface(s)";
    case kMonitoringErrorNothingToMonitor: return L"Nothing to monitor!";
    default: return {};
    }
}

TIPHLPCollector::TIPHLPCollector(std::unique_ptr<InterfaceTableSource> source) : FSource(std::move(source)) {
    Init();
}

void TIPHLPCollector::Init() { FetchInterfaceTable(true); }

void TIPHLPCollector::Update() { FetchInterfaceTable(false); }

bool TIPHLPCollector::FetchInterfaceTable(bool initialize) {
    // Cleared first, so that rows of an earlier reading are never consulted
    // after a failure, even one that ends in an exception.
    FNumInterfaces = 0;
    const bool read = FSource && FSource->Read(FIFRows);
    if (read) FNumInterfaces = static_cast<std::int32_t>(FIFRows.size());
    const bool successful = FNumInterfaces > 0;

    if (successful) {
        FFetchErrorNotified = false;
    } else {
        DoMonitoringError(kMonitoringErrorFetchFailed);
    }
    // Until a reading has succeeded nothing is primed, and measuring from 0
    // would turn every interface's counter since boot into one tick's traffic
    // (a spike that flattens an autoscaled graph for half an hour). The first
    // successful reading primes instead.
    ComputeTraffic(initialize || !FPrimed);
    FPrimed = FPrimed || successful;
    return successful;
}

void TIPHLPCollector::ComputeTraffic(bool initialize) {
    FUpload = 0;
    FDownload = 0;
    FBandwidthTotal = 0;
    FLastMonitoringSuccessful = true;
    int counted = 0;

    // Deltas are kept for every row, counted or not, so that a new selection
    // measures correctly from the very next reading.
    ++FReadingNumber;
    for (std::int32_t i = 0; i < FNumInterfaces; ++i) {
        const InterfaceRow& row = FIFRows[static_cast<std::size_t>(i)];
        TIFStats& stats = FIFStatArray[GetStatIndex(row.InterfaceGuid)];
        // A GUID met again in the same reading is the same interface: its first
        // row stands for it. Measuring a repeat against the first row's
        // counters would invent traffic, and the lists would show it twice.
        if (stats.LastReading == FReadingNumber) {
            FIFRows.erase(FIFRows.begin() + i--);
            --FNumInterfaces;
            continue;
        }
        stats.LastReading = FReadingNumber;
        if (initialize) {
            stats.Prev_InUcastOctets = row.InUcastOctets;
            stats.Prev_OutUcastOctets = row.OutUcastOctets;
            stats.Delta_InUcastOctets = 0;
            stats.Delta_OutUcastOctets = 0;
        } else {
            stats.Delta_InUcastOctets = Advance(stats.Prev_InUcastOctets, row.InUcastOctets);
            stats.Delta_OutUcastOctets = Advance(stats.Prev_OutUcastOctets, row.OutUcastOctets);
        }
        if (!IsCounted(row)) continue;

        ++counted;
        FUpload += stats.Delta_OutUcastOctets;
        FDownload += stats.Delta_InUcastOctets;
        FBandwidthTotal += std::max(row.ReceiveLinkSpeed, row.TransmitLinkSpeed);
    }

    if (counted > 0) {
        FNothingToMonitorErrorNotified = false;
    } else {
        FLastMonitoringSuccessful = false;
        DoMonitoringError(kMonitoringErrorNothingToMonitor);
    }
}

bool TIPHLPCollector::IsCounted(const InterfaceRow& row) const noexcept {
    if (FInterfaceToMonitor == AllHardwareInterfacesGUID) return IsHardwareAdapterUp(row);
    return row.InterfaceGuid == FInterfaceToMonitor && IsUp(row);
}

// Entries are never removed: an interface that leaves the table and comes back
// measures its next delta from its last reading.
std::size_t TIPHLPCollector::GetStatIndex(const Guid& guid) {
    for (std::size_t i = 0; i < FIFStatArray.size(); ++i)
        if (FIFStatArray[i].ID == guid) return i;
    FIFStatArray.push_back(TIFStats{guid});
    return FIFStatArray.size() - 1;
}

void TIPHLPCollector::DoMonitoringError(std::int32_t code) {
    bool* notified = nullptr;
    if (code == kMonitoringErrorFetchFailed) notified = &FFetchErrorNotified;
    if (code == kMonitoringErrorNothingToMonitor) notified = &FNothingToMonitorErrorNotified;
    if (!notified) return;

    const bool isNew = !*notified;
    *notified = true;
    if (isNew && FOnMonitoringError) FOnMonitoringError(*this, code);
}

std::wstring TIPHLPCollector::GetMonitoredIFName() const {
    std::wstring name;
    GetMonitoredIFName(name);
    return name;
}

void TIPHLPCollector::GetMonitoredIFName(std::wstring& name) const {
    if (FInterfaceToMonitor == AllHardwareInterfacesGUID) {
        name.assign(L"All Hardware Interfaces");
        return;
    }
    for (std::int32_t i = 0; i < FNumInterfaces; ++i) {
        const InterfaceRow& row = FIFRows[static_cast<std::size_t>(i)];
        if (row.InterfaceGuid != FInterfaceToMonitor) continue;
        name.assign(row.Description);
        if (!IsUp(row)) name.append(L" [DISABLED]");
        return;
    }
    name.assign(L"[NONE]");
}

TIFList TIPHLPCollector::GetInterfaceList(bool hardwareAndEnabledOnly) const {
    TIFList list;
    for (std::int32_t i = 0; i < FNumInterfaces; ++i) {
        const InterfaceRow& row = FIFRows[static_cast<std::size_t>(i)];
        if (hardwareAndEnabledOnly && !IsHardwareAdapterUp(row)) continue;
        list.push_back(TIFListItem{row.InterfaceGuid, row.Description});
    }
    return list;
}

}  // namespace orvalet
