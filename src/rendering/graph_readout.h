#pragma once
// The readout of the traffic graph: the bar under a point of the control,
// how long ago its values were taken and what they were.
#include <cstdint>
#include <optional>
#include <string>

#include "rendering/traffic_graph.h"

namespace orvalet {

class TTrafficBuffer;

struct GraphReading {
    int secondsAgo = 0;
    std::uint64_t download = 0;  // bytes per second
    std::uint64_t upload = 0;

    friend bool operator==(const GraphReading&, const GraphReading&) = default;
};

// The value drawn in the column at x of a graph area showing `history` right
// aligned, one value a second, the newest in its rightmost column. None
// outside the area (the label strip and column), for an empty history and
// left of the oldest value.
std::optional<GraphReading> ReadGraphAt(const GraphArea& area, const TTrafficBuffer* history, int x, int y);

// Three lines ending in CR LF, as Windows' text controls break them:
// "23 s ago", then the download and upload as the rate labels write them.
void WriteReadoutText(std::wstring& text, const GraphReading& reading, int displayUnit);

}  // namespace orvalet
