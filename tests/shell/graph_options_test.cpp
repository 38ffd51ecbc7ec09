#include "shell/graph_options.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <iterator>
#include <utility>

namespace orvalet {
namespace {

// Every graph option lands in its own field of the style and nowhere else.
TEST(GraphOptions, EachOptionSetsItsOwnFieldOfTheStyle) {
    using OptionChange = void (*)(OVL_OptionsRecord&);
    using StyleChange = void (*)(GraphStyle&);
    const std::pair<OptionChange, StyleChange> cases[] = {
        {[](OVL_OptionsRecord& o) { o.Colors.GR_Grid = 1; }, [](GraphStyle& s) { s.colors.GR_Grid = 1; }},
        {[](OVL_OptionsRecord& o) { o.Fonts[kMVLabel].Size = 9; },
         [](GraphStyle& s) { s.labelFonts[kMVLabel].Size = 9; }},
        {[](OVL_OptionsRecord& o) { o.ShowUDValues = false; }, [](GraphStyle& s) { s.showLabel[kUDLabel] = false; }},
        {[](OVL_OptionsRecord& o) { o.ShowMaxValue = false; }, [](GraphStyle& s) { s.showLabel[kMVLabel] = false; }},
        {[](OVL_OptionsRecord& o) { o.ShowIFName = false; }, [](GraphStyle& s) { s.showLabel[kIFLabel] = false; }},
        {[](OVL_OptionsRecord& o) { o.FontAutosize = false; }, [](GraphStyle& s) { s.fontAutosize = false; }},
        {[](OVL_OptionsRecord& o) { o.Autoscale = false; }, [](GraphStyle& s) { s.autoscale = false; }},
        {[](OVL_OptionsRecord& o) { o.Gradient = false; }, [](GraphStyle& s) { s.useGradient = false; }},
        {[](OVL_OptionsRecord& o) { o.ShowHorGrid = false; }, [](GraphStyle& s) { s.showHorGrid = false; }},
        {[](OVL_OptionsRecord& o) { o.VertGrid = 15; }, [](GraphStyle& s) { s.graphVertGrid = 15; }},
        {[](OVL_OptionsRecord& o) { o.UDDisplayUnit = 1; }, [](GraphStyle& s) { s.udDisplayUnit = 1; }},
        {[](OVL_OptionsRecord& o) { o.MVDisplayUnit = 2; }, [](GraphStyle& s) { s.mvDisplayUnit = 2; }},
        {[](OVL_OptionsRecord& o) { o.DisplayAverageValues = true; }, [](GraphStyle& s) { s.displayAverage = true; }},
    };
    const GraphStyle defaults = GraphStyleFromOptions(OVL_OptionsRecord{});
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        OVL_OptionsRecord options;
        cases[i].first(options);
        GraphStyle expected = defaults;
        cases[i].second(expected);
        ASSERT_NE(expected, defaults) << "the case changes nothing";
        EXPECT_EQ(GraphStyleFromOptions(options), expected);
    }
}

}  // namespace
}  // namespace orvalet
