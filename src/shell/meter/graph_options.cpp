#include "shell/meter/graph_options.h"

namespace orvalet {

GraphStyle GraphStyleFromOptions(const OVL_OptionsRecord& options) {
    return GraphStyle{
        .colors = options.Colors,
        .labelFonts = options.Fonts,
        .showLabel = {false, options.ShowUDValues, options.ShowMaxValue, options.ShowIFName},
        .fontAutosize = options.FontAutosize,
        .autoscale = options.Autoscale,
        .useGradient = options.Gradient,
        .showHorGrid = options.ShowHorGrid,
        .graphVertGrid = options.VertGrid,
        .udDisplayUnit = options.UDDisplayUnit,
        .mvDisplayUnit = options.MVDisplayUnit,
        .displayAverage = options.DisplayAverageValues,
    };
}

void ApplyGraphOptions(const OVL_OptionsRecord& options, TTrafficGraph& graph) {
    graph.SetStyle(GraphStyleFromOptions(options));
}

}  // namespace orvalet
