#pragma once
// How the traffic graph looks, as the user sets it: one value, so that the
// graph decides whether to redraw by comparing it as a whole and an option
// added here is part of that decision without further ado.
#include <array>
#include <cstdint>

#include "rendering/graph_types.h"

namespace orvalet {

struct GraphStyle {
    GR_ColorType colors = GR_DefaultColors;
    GR_Fonts labelFonts = GR_DefaultFonts;
    std::array<bool, 4> showLabel{false, true, true, true};  // by label index 1..3; [0] unused
    bool fontAutosize = true;
    // The scale follows the largest visible value instead of a given maximum.
    bool autoscale = true;
    bool useGradient = true;
    bool showHorGrid = true;
    std::int32_t graphVertGrid = 60;  // values between vertical grid lines; 0 or less: none
    // Display unit indices (0..3) of the rate labels and of the maximum label.
    std::int32_t udDisplayUnit = 0;
    std::int32_t mvDisplayUnit = 0;
    bool displayAverage = false;  // the rate labels show the averages, not the newest values

    friend bool operator==(const GraphStyle&, const GraphStyle&) = default;
};

}  // namespace orvalet
