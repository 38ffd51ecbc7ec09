#pragma once
// Carries the options to the traffic graph.
#include "rendering/traffic_graph.h"
#include "settings/options.h"

namespace orvalet {

// Every graph setting of the options: scaling, labels, background, grids,
// averages, fonts, colours and units.
void ApplyGraphOptions(const OVL_OptionsRecord& options, TTrafficGraph& graph);

}  // namespace orvalet
