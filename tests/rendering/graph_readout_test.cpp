#include "rendering/graph_readout.h"

#include <gtest/gtest.h>

#include "sampling/traffic_buffer.h"

namespace orvalet {
namespace {

// A 300 x 100 control with a 20-pixel column at the left and a 20-pixel strip
// at the bottom, over `length` values: download 1000 + i and upload i at index i.
TEST(GraphReadout, APointReadsTheBarInItsColumnOnlyAndTheTextWritesItInThreeLines) {
    constexpr GraphArea kArea{20, 0, 300, 80};
    const struct {
        int length, x, y, secondsAgo;  // -1: nothing
    } cases[] = {
        {1800, 299, 0, 0}, {1800, 299, 79, 0}, {1800, 20, 40, 279},  // the right and left edges
        {1800, 19, 40, -1}, {1800, 150, 80, -1},                      // the column and the strip
        {1800, 300, 40, -1}, {1800, 150, -1, -1},                     // outside the control
        {0, 299, 40, -1},                                             // an empty history
        {50, 250, 40, 49}, {50, 249, 40, -1},                         // around the oldest of 50
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.length << " values, at " << c.x << "," << c.y);
        TTrafficBuffer history;
        history.SetBufferLen(c.length);
        for (std::uint64_t i = 0; i < static_cast<std::uint64_t>(c.length); ++i) history.Add(i, 1000 + i);
        const auto index = static_cast<std::uint64_t>(c.length - 1 - c.secondsAgo);
        const std::optional<GraphReading> expected =
            c.secondsAgo < 0 ? std::nullopt : std::optional(GraphReading{c.secondsAgo, 1000 + index, index});
        EXPECT_EQ(ReadGraphAt(kArea, &history, c.x, c.y), expected);
    }
    EXPECT_FALSE(ReadGraphAt(kArea, nullptr, 299, 40)) << "no history";

    std::wstring text = L"an older and longer text than the readout's";
    WriteReadoutText(text, {23, 1'457'520, 12'288}, 3);
    EXPECT_EQ(text, L"23 s ago\r\n\u25BC 1.39 MiB/s\r\n\u25B2 12.0 KiB/s");
}

}  // namespace
}  // namespace orvalet
