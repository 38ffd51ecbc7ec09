#pragma once
// A scripted interface table for tests: the test edits the rows (or makes the
// table fail) between readings, and any number of sources read the same script.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "sampling/guid.h"
#include "sampling/interface_table.h"

namespace orvalet::testing {

inline constexpr std::uint32_t HardwareFlag = 1u << kHardwareInterfaceBit;
inline constexpr std::uint32_t FilterFlag = 1u << kFilterInterfaceBit;
inline constexpr std::uint32_t OperStatusDown = 2;

// A distinct, recognisable GUID per number.
inline Guid TestGuid(std::uint32_t n) { return Guid{0x0D0C0000u + n, 0x1111, 0x2222, {0xA0, 0, 0, 0, 0, 0, 0, 1}}; }

// An up hardware adapter with the given counters and link speed in both directions.
inline InterfaceRow HardwareRow(const Guid& guid, std::wstring description, std::uint64_t inOctets = 0,
                                std::uint64_t outOctets = 0, std::uint64_t linkSpeed = 0) {
    return {guid, std::move(description), HardwareFlag, kOperStatusUp, linkSpeed, linkSpeed, inOctets, outOctets};
}

// An up software interface (loopback, tunnel): no hardware flag.
inline InterfaceRow SoftwareRow(const Guid& guid, std::wstring description) {
    return {guid, std::move(description), 0, kOperStatusUp};
}

class ScriptedInterfaceTable {
public:
    // What every following reading returns, until changed.
    std::vector<InterfaceRow>& Rows() { return script_->rows; }
    void SetRows(std::vector<InterfaceRow> rows) { script_->rows = std::move(rows); }
    // While failing, readings report failure, as when GetIfTable2 returns an error.
    void SetFailing(bool failing) { script_->failing = failing; }
    int ReadCount() const { return script_->reads; }

    // The row with this GUID; the test must have added it.
    InterfaceRow& Row(const Guid& guid) {
        for (InterfaceRow& row : script_->rows)
            if (row.InterfaceGuid == guid) return row;
        throw std::out_of_range("no scripted row with this GUID");
    }
    void AddTraffic(const Guid& guid, std::uint64_t received, std::uint64_t sent) {
        Row(guid).InUcastOctets += received;
        Row(guid).OutUcastOctets += sent;
    }

    // A source that reads this script; it stays valid after the script object is gone.
    std::unique_ptr<InterfaceTableSource> MakeSource() const { return std::make_unique<Source>(script_); }

private:
    struct Script {
        std::vector<InterfaceRow> rows;
        bool failing = false;
        int reads = 0;
    };
    struct Source final : InterfaceTableSource {
        explicit Source(std::shared_ptr<Script> s) : script(std::move(s)) {}
        bool Read(std::vector<InterfaceRow>& rows) override {
            ++script->reads;
            if (!script->failing) rows = script->rows;
            return !script->failing;
        }
        std::shared_ptr<Script> script;
    };
    std::shared_ptr<Script> script_ = std::make_shared<Script>();
};

}  // namespace orvalet::testing
