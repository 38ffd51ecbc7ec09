#include "shell/meter/graph_options.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/fixed_text_renderer.h"

namespace orvalet {
namespace {

// Each option that shapes the graph reaches it, into its own part of the
// style and nowhere else: changing the option from its default changes
// exactly that part, to the option's value.
TEST(GraphOptions, EachOptionReachesItsOwnPartOfTheGraphsStyle) {
    GR_ColorType colors = GR_DefaultColors;
    colors.MV_BkGr = 0x123456;
    GR_Fonts fonts = GR_DefaultFonts;
    fonts[kIFLabel] = {L"Courier New", 14, true, true};
    const struct {
        const char* option;
        std::function<void(OVL_OptionsRecord&)> change;
        std::function<void(GraphStyle&)> expected;
    } rows[] = {
        {"Colors", [&](auto& o) { o.Colors = colors; }, [&](auto& s) { s.colors = colors; }},
        {"Fonts", [&](auto& o) { o.Fonts = fonts; }, [&](auto& s) { s.labelFonts = fonts; }},
        {"ShowUDValues", [](auto& o) { o.ShowUDValues = false; }, [](auto& s) { s.showLabel[kUDLabel] = false; }},
        {"ShowMaxValue", [](auto& o) { o.ShowMaxValue = false; }, [](auto& s) { s.showLabel[kMVLabel] = false; }},
        {"ShowIFName", [](auto& o) { o.ShowIFName = false; }, [](auto& s) { s.showLabel[kIFLabel] = false; }},
        {"FontAutosize", [](auto& o) { o.FontAutosize = false; }, [](auto& s) { s.fontAutosize = false; }},
        {"Autoscale", [](auto& o) { o.Autoscale = false; }, [](auto& s) { s.autoscale = false; }},
        {"Gradient", [](auto& o) { o.Gradient = false; }, [](auto& s) { s.useGradient = false; }},
        {"ShowHorGrid", [](auto& o) { o.ShowHorGrid = false; }, [](auto& s) { s.showHorGrid = false; }},
        {"VertGrid", [](auto& o) { o.VertGrid = 30; }, [](auto& s) { s.graphVertGrid = 30; }},
        {"UDDisplayUnit", [](auto& o) { o.UDDisplayUnit = 1; }, [](auto& s) { s.udDisplayUnit = 1; }},
        {"MVDisplayUnit", [](auto& o) { o.MVDisplayUnit = 2; }, [](auto& s) { s.mvDisplayUnit = 2; }},
        {"DisplayAverageValues", [](auto& o) { o.DisplayAverageValues = true; },
         [](auto& s) { s.displayAverage = true; }},
    };
    const OVL_OptionsRecord defaults;
    testing::FixedTextRenderer text;
    TTrafficGraph graph(text);
    ApplyGraphOptions(defaults, graph);
    const GraphStyle atDefaults = graph.Style();
    EXPECT_EQ(atDefaults.udDisplayUnit, defaults.UDDisplayUnit);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.option);
        OVL_OptionsRecord options = defaults;
        row.change(options);
        GraphStyle expected = atDefaults;
        row.expected(expected);
        ASSERT_NE(expected, atDefaults) << "the row changes nothing";
        ApplyGraphOptions(options, graph);
        EXPECT_EQ(graph.Style(), expected);
    }
}

}  // namespace
}  // namespace orvalet
