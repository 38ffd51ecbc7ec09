#include "rendering/traffic_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <string_view>
#include <system_error>

namespace orvalet {
namespace {

constexpr int kSignificantDigits = 18;

NumberFormat& MutableUserNumberFormat() {
    static NumberFormat format;
    return format;
}

std::uint32_t numberFormatGeneration = 0;

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
// digits, cut after `decimals` digits and rounded half away from zero. Kept
// in a fixed buffer, so formatting allocates nothing: amounts never need
// more than 9 integer digits and a level has at most 4 decimals.
class FixedDigits {
public:
    FixedDigits(double x, int decimals) {
        int pointPos = x > 0 ? Expand(x) : (Append('0'), 1);
        if (pointPos <= 0) {
            Prepend('0', static_cast<std::size_t>(1 - pointPos));
            pointPos = 1;
        }
        const std::size_t kept = std::min(static_cast<std::size_t>(pointPos + std::max(decimals, 0)), kCapacity - 2);
        while (length_ <= kept) Append('0');
        const bool roundUp = digits_[kept] >= '5';
        length_ = kept;
        if (roundUp && CarryOne()) ++pointPos;
        integerLength_ = std::min(static_cast<std::size_t>(pointPos), length_);
    }

    std::string_view Integer() const { return {digits_.data(), integerLength_}; }
    std::string_view Fraction() const { return {digits_.data() + integerLength_, length_ - integerLength_}; }

private:
    static constexpr std::size_t kCapacity = 64;

    // Writes the significant digits and returns how many of them stand
    // before the decimal point. printf's exponent form is correctly rounded
    // like std::to_chars, without pulling the latter's large tables into the
    // program; the program never changes the C locale, so the text reads
    // "d.ddd...e+XX".
    int Expand(double x) {
        char buffer[40];
        const int written = std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, x);
        if (written <= 0 || static_cast<std::size_t>(written) >= sizeof buffer) {
            Append('0');
            return 1;
        }
        const std::string_view text(buffer, static_cast<std::size_t>(written));
        const std::size_t e = text.find('e');
        Append(text[0]);
        for (char digit : text.substr(2, e - 2)) Append(digit);  // skip "d."
        std::string_view exponent = text.substr(e + 1);
        if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
        int power = 0;
        std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
        return power + 1;
    }

    void Append(char digit) {
        if (length_ < kCapacity) digits_[length_++] = digit;
    }

    void Prepend(char digit, std::size_t count) {
        count = std::min(count, kCapacity - length_);
        std::copy_backward(digits_.begin(), digits_.begin() + static_cast<std::ptrdiff_t>(length_),
                           digits_.begin() + static_cast<std::ptrdiff_t>(length_ + count));
        std::fill_n(digits_.begin(), count, digit);
        length_ += count;
    }

    // Adds one in the last kept place; true when that adds a leading digit.
    bool CarryOne() {
        std::size_t i = length_;
        while (i > 0 && digits_[i - 1] == '9') digits_[--i] = '0';
        if (i > 0) {
            ++digits_[i - 1];
            return false;
        }
        Prepend('1', 1);
        return true;
    }

    std::array<char, kCapacity> digits_{};
    std::size_t length_ = 0;
    std::size_t integerLength_ = 0;
};

void AppendGroupedThousands(std::wstring& text, std::string_view digits, const std::wstring& separator) {
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += separator;
        text += static_cast<wchar_t>(digits[i]);
    }
}

}  // namespace

const NumberFormat& UserNumberFormat() { return MutableUserNumberFormat(); }

void SetUserNumberFormat(NumberFormat format) {
    MutableUserNumberFormat() = std::move(format);
    ++numberFormatGeneration;
}

std::uint32_t UserNumberFormatGeneration() { return numberFormatGeneration; }

std::wstring FormatTrafficValue(std::uint64_t value, std::int32_t unitIndex) {
    return FormatTrafficValue(value, unitIndex, UserNumberFormat());
}

std::wstring FormatTrafficValue(std::uint64_t value, std::int32_t unitIndex, const NumberFormat& format) {
    std::wstring text;
    AppendTrafficValue(text, value, unitIndex, format);
    return text;
}

void AppendTrafficValue(std::wstring& text, std::uint64_t value, std::int32_t unitIndex) {
    AppendTrafficValue(text, value, unitIndex, UserNumberFormat());
}

void AppendTrafficValue(std::wstring& text, std::uint64_t value, std::int32_t unitIndex, const NumberFormat& format) {
    const GR_DisplayUnitType& unit = DisplayUnit(unitIndex);
    const GR_UnitLevelType& level = unit.Levels[static_cast<std::size_t>(ChooseLevel(unit, value))];
    // Scaled in floating point for the same reason; multiplying by 8 is exact
    // in binary, so this equals the integer amount wherever that fits.
    const double amount = static_cast<double>(value) * unit.BitFactor / static_cast<double>(level.Divisor);

    const FixedDigits digits(amount, level.Decimals);
    AppendGroupedThousands(text, digits.Integer(), format.thousandsSeparator);
    if (!digits.Fraction().empty()) {
        text += format.decimalSeparator;
        text.append(digits.Fraction().begin(), digits.Fraction().end());
    }
    text += L' ';
    text += level.ShortName;
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
