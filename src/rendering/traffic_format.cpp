#include "rendering/traffic_format.h"

#include <charconv>
#include <cstdlib>
#include <string_view>
#include <system_error>

namespace orvalet {
namespace {

constexpr int kSignificantDigits = 18;

NumberFormat& MutableUserNumberFormat() {
    static NumberFormat format;
    return format;
}

// The highest level whose divisor the amount in bits or bytes reaches; level
// 0 for anything smaller, so plain bits or bytes are never shown. A byte
// count times 8 can exceed 64 bits, so the byte count is compared with the
// divisor divided by the bit factor, rounded up, instead.
int ChooseLevel(const GR_DisplayUnitType& unit, std::uint64_t value) {
    for (int level = 3; level >= 1; --level) {
        const std::uint64_t divisor = unit.Levels[static_cast<std::size_t>(level)].Divisor;
        const std::uint64_t bitFactor = static_cast<std::uint64_t>(unit.BitFactor);
        if (value >= (divisor + bitFactor - 1) / bitFactor) return level;  // value * bitFactor >= divisor
    }
    return 0;
}

// Fixed-point digits of x (x >= 0): the decimal expansion to 18 significant
// digits, cut after `decimals` digits and rounded half away from zero.
// Returns the integer digits and the fraction digits separately.
struct FixedDigits {
    std::string integer;
    std::string fraction;
};

FixedDigits ToFixedDigits(double x, int decimals) {
    std::string expanded;  // all digits, with the decimal point after pointPos of them
    int pointPos = 1;
    if (x > 0) {
        char buffer[64];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, kSignificantDigits - 1);
        const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
        const std::size_t e = text.find('e');
        expanded.push_back(text[0]);
        expanded.append(text.substr(2, e - 2));  // skip "d."
        pointPos = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    } else {
        expanded = "0";
    }
    if (pointPos <= 0) {
        expanded.insert(0, static_cast<std::size_t>(1 - pointPos), '0');
        pointPos = 1;
    }
    const std::size_t kept = static_cast<std::size_t>(pointPos + decimals);
    if (expanded.size() <= kept) expanded.append(kept + 1 - expanded.size(), '0');

    const bool roundUp = expanded[kept] >= '5';
    expanded.resize(kept);
    if (roundUp) {
        std::size_t i = kept;
        while (i > 0 && expanded[i - 1] == '9') expanded[--i] = '0';
        if (i == 0) {
            expanded.insert(expanded.begin(), '1');
            ++pointPos;
        } else {
            ++expanded[i - 1];
        }
    }
    return {expanded.substr(0, static_cast<std::size_t>(pointPos)), expanded.substr(static_cast<std::size_t>(pointPos))};
}

std::wstring GroupThousands(const std::string& digits, const std::wstring& separator) {
    std::wstring grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
        grouped += static_cast<wchar_t>(digits[i]);
    }
    return grouped;
}

}  // namespace

const NumberFormat& UserNumberFormat() { return MutableUserNumberFormat(); }

void SetUserNumberFormat(NumberFormat format) { MutableUserNumberFormat() = std::move(format); }

std::wstring FormatTrafficValue(std::uint64_t value, std::int32_t unitIndex) {
    return FormatTrafficValue(value, unitIndex, UserNumberFormat());
}

std::wstring FormatTrafficValue(std::uint64_t value, std::int32_t unitIndex, const NumberFormat& format) {
    const GR_DisplayUnitType& unit = DisplayUnit(unitIndex);
    const GR_UnitLevelType& level = unit.Levels[static_cast<std::size_t>(ChooseLevel(unit, value))];
    // Scaled in floating point for the same reason; multiplying by 8 is exact
    // in binary, so this equals the integer amount wherever that fits.
    const double amount = static_cast<double>(value) * unit.BitFactor / static_cast<double>(level.Divisor);

    const FixedDigits digits = ToFixedDigits(amount, level.Decimals);
    std::wstring text = GroupThousands(digits.integer, format.thousandsSeparator);
    if (!digits.fraction.empty()) {
        text += format.decimalSeparator;
        text.append(digits.fraction.begin(), digits.fraction.end());
    }
    text += L' ';
    text += level.ShortName;
    return text;
}

std::wstring UnitCaption(std::int32_t unitIndex) {
    const GR_DisplayUnitType& unit = DisplayUnit(unitIndex);
    std::wstring caption(unit.Name);
    caption += L" (1 ";
    caption += unit.Levels[0].ShortName;
    caption += L' ';
    caption += unit.Levels[0].Description;
    caption += L')';
    return caption;
}

}  // namespace orvalet
