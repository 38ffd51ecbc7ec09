#include "shell/graph_options.h"

namespace orvalet {

void ApplyGraphOptions(const OVL_OptionsRecord& options, TTrafficGraph& graph) {
    graph.SetAutoscale(options.Autoscale);
    graph.SetShowUDLabel(options.ShowUDValues);
    graph.SetShowMVLabel(options.ShowMaxValue);
    graph.SetShowIFLabel(options.ShowIFName);
    graph.SetUseGradient(options.Gradient);
    graph.SetShowHorGrid(options.ShowHorGrid);
    graph.SetGraphVertGrid(options.VertGrid);
    graph.SetDisplayAverage(options.DisplayAverageValues);
    graph.SetLabelFonts(options.Fonts);
    graph.SetFontAutosize(options.FontAutosize);
    graph.SetColors(options.Colors);
    graph.SetUDDisplayUnit(options.UDDisplayUnit);
    graph.SetMVDisplayUnit(options.MVDisplayUnit);
}

}  // namespace orvalet
