// One collector reading of the machine's real interface table: GetIfTable2,
// the copy of its rows, FreeMibTable and the traffic computation.
#include <memory>

#include "harness.h"
#include "sampling/collector.h"
#include "sampling/win32/interface_table_win.h"

namespace {

ORVALET_WIN_BENCH(Collector_UpdateSystemTable) {
    orvalet::TIPHLPCollector collector(std::make_unique<orvalet::win32::IpHelperInterfaceTable>());
    for (std::size_t i = 0; i < iterations; ++i) collector.Update();
    orvalet::bench::KeepAlive(collector.Download());
}

}  // namespace
