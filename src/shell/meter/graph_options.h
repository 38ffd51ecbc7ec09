#pragma once
// Carries the options to the traffic graph.
#include "rendering/graph_style.h"
#include "rendering/traffic_graph.h"
#include "settings/options.h"

namespace orvalet {

// The graph's style as the options set it: scaling, labels, background,
// grids, averages, fonts, colours and units.
GraphStyle GraphStyleFromOptions(const OVL_OptionsRecord& options);

// Gives the graph the style of the options.
void ApplyGraphOptions(const OVL_OptionsRecord& options, TTrafficGraph& graph);

}  // namespace orvalet
