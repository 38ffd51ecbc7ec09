#include "rendering/graph_readout.h"

#include <gtest/gtest.h>

#include "rendering/graph_labels.h"
#include "sampling/traffic_buffer.h"
#include "support/fixed_text_renderer.h"

namespace orvalet {
namespace {

// A history of `length` values, download 1000 + i and upload i at index i.
TTrafficBuffer Numbered(int length) {
    TTrafficBuffer history;
    history.SetBufferLen(length);
    for (int i = 0; i < length; ++i) history.Add(static_cast<std::uint64_t>(i), 1000 + static_cast<std::uint64_t>(i));
    return history;
}

// A 300 x 100 control with a 20-pixel column at the left and a 20-pixel
// strip at the bottom.
TEST(GraphReadout, APointReadsTheValueDrawnInItsColumnAndNothingOutsideTheBars) {
    constexpr GraphArea kArea{20, 0, 300, 80};
    struct Case {
        const char* what;
        int length, x, y;
        std::optional<int> secondsAgo;
    };
    const Case cases[] = {
        {"right edge, top row", 1800, 299, 0, 0},
        {"right edge, bottom row", 1800, 299, 79, 0},
        {"left edge", 1800, 20, 40, 279},
        {"maximum column", 1800, 19, 40, std::nullopt},
        {"rate strip", 1800, 150, 80, std::nullopt},
        {"right of the control", 1800, 300, 40, std::nullopt},
        {"above the control", 1800, 150, -1, std::nullopt},
        {"empty history", 0, 299, 40, std::nullopt},
        {"oldest value of a shorter history", 50, 250, 40, 49},
        {"left of the oldest value", 50, 249, 40, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TTrafficBuffer history = Numbered(c.length);
        const std::optional<GraphReading> reading = ReadGraphAt(kArea, &history, c.x, c.y);
        ASSERT_EQ(reading.has_value(), c.secondsAgo.has_value());
        if (!reading) continue;
        const auto index = static_cast<std::uint64_t>(c.length - 1 - *c.secondsAgo);
        EXPECT_EQ(*reading, (GraphReading{*c.secondsAgo, 1000 + index, index}));
    }
    const TTrafficBuffer history = Numbered(10);
    EXPECT_FALSE(ReadGraphAt(kArea, nullptr, 299, 40)) << "a graph without a history";
    EXPECT_FALSE(ReadGraphAt(GraphArea{}, &history, 0, 0)) << "a graph not yet drawn";
}

TEST(GraphReadout, TheGraphOffersTheAreaItDrewTheBarsIn) {
    testing::FixedTextRenderer text;
    TTrafficGraph graph(text);
    graph.SetShowIFLabel(false);
    graph.RenderGraph(300, 100);
    Bitmap scratch;
    Canvas canvas(scratch, text);
    const LabelContent labels{graph.ULabel(), graph.DLabel(), graph.MVLabel(), graph.IFLabel(),
                              &graph.LabelFonts(), {false, true, true, false}, true};
    const LabelLayout layout = LayOutLabels(canvas, labels, 300, 100);
    ASSERT_GT(layout.C, 0);
    ASSERT_GT(layout.S, 0);
    EXPECT_EQ(graph.DrawnGraphArea(), (GraphArea{layout.C, 0, 300, 100 - layout.S}));
}

TEST(GraphReadout, TextSaysHowLongAgoThenTheRatesAsTheLabelsWriteThem) {
    std::wstring text = L"an older and longer text than the readout's";
    WriteReadoutText(text, {23, 1'457'520, 12'288}, 3);
    EXPECT_EQ(text, L"23 s ago\r\n\u25BC 1.39 MiB/s\r\n\u25B2 12.0 KiB/s");
    WriteReadoutText(text, {0, 0, 0}, 0);
    EXPECT_EQ(text, L"0 s ago\r\n\u25BC 0.0 kb/s\r\n\u25B2 0.0 kb/s");
}

}  // namespace
}  // namespace orvalet
