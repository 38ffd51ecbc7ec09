#pragma once
// Turns a byte count into a short text in one of the display units, choosing
// the kilo, mega, giga or tera level by the size of the amount: "1.25 MB".
#include <cstdint>
#include <string>

#include "rendering/units.h"

namespace orvalet {

// The separators of the user's regional settings.
struct NumberFormat {
    std::wstring decimalSeparator = L".";
    std::wstring thousandsSeparator = L",";

    friend bool operator==(const NumberFormat&, const NumberFormat&) = default;
};

// The format FormatTrafficValue uses by default: English separators until the
// platform layer installs the user's (win32/number_format_win.h).
const NumberFormat& UserNumberFormat();
void SetUserNumberFormat(NumberFormat format);
// Counts the calls of SetUserNumberFormat, so that texts formatted earlier
// can tell whether they are still current.
std::uint32_t UserNumberFormatGeneration();

// Value in bytes; unitIndex selects a GR_DisplayUnits entry (outside 0..3:
// unit 0). Adds no per-second suffix.
std::wstring FormatTrafficValue(std::uint64_t value, std::int32_t unitIndex);
std::wstring FormatTrafficValue(std::uint64_t value, std::int32_t unitIndex, const NumberFormat& format);

// The same text appended to `text`; allocates only when the string must grow.
void AppendTrafficValue(std::wstring& text, std::uint64_t value, std::int32_t unitIndex);
void AppendTrafficValue(std::wstring& text, std::uint64_t value, std::int32_t unitIndex, const NumberFormat& format);

}  // namespace orvalet
