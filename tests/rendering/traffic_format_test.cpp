#include "rendering/traffic_format.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace orvalet {
namespace {

const NumberFormat kEnglish{L".", L","};
const NumberFormat kGerman{L",", L"."};

std::wstring English(std::uint64_t value, int unit) { return FormatTrafficValue(value, unit, kEnglish); }

struct Example {
    std::uint64_t value;
    int unit;
    const wchar_t* text;
};

class FormatExamples : public ::testing::TestWithParam<Example> {};

TEST_P(FormatExamples, WritesTheExpectedText) {
    EXPECT_EQ(English(GetParam().value, GetParam().unit), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Documented, FormatExamples,
    ::testing::Values(Example{0, 0, L"0.0 kb"}, Example{125, 0, L"1.0 kb"}, Example{124999, 0, L"1,000.0 kb"},
                      Example{125000, 0, L"1.00 Mb"}, Example{1250000, 0, L"10.00 Mb"},
                      Example{150, 1, L"1.2 Kibit"}, Example{1250000, 1, L"9.54 Mibit"},
                      Example{1250, 2, L"1.3 kB"}, Example{999999, 2, L"1,000.0 kB"},
                      Example{1250000, 2, L"1.25 MB"}, Example{5000000000, 2, L"5.000 GB"},
                      Example{1023, 3, L"1.0 KiB"}, Example{1048575, 3, L"1,024.0 KiB"},
                      Example{1048576, 3, L"1.00 MiB"}, Example{1250000, 3, L"1.19 MiB"},
                      Example{3000000000000, 3, L"2.7285 TiB"}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, FormatExamples,
    ::testing::Values(
        // Zero in every unit reads 0.0 of the kilo level.
        Example{0, 1, L"0.0 Kibit"}, Example{0, 2, L"0.0 kB"}, Example{0, 3, L"0.0 KiB"},
        // Amounts below one kilo-unit stay in level 0.
        Example{100, 2, L"0.1 kB"}, Example{1, 2, L"0.0 kB"}, Example{50, 2, L"0.1 kB"},
        Example{49, 2, L"0.0 kB"},
        // The threshold is inclusive, one bit below stays in the lower level.
        Example{124999, 0, L"1,000.0 kb"}, Example{1000000, 2, L"1.00 MB"}, Example{1000000, 3, L"976.6 KiB"},
        // Higher levels and their decimals.
        Example{1000000000, 2, L"1.000 GB"}, Example{1000000000000, 2, L"1.0000 TB"},
        Example{1ULL << 50, 3, L"1,024.0000 TiB"}, Example{1234567ULL * 1000000000000ULL, 2, L"1,234,567.0000 TB"},
        // Rounding carries through nines into a new integer digit.
        Example{999950, 2, L"1,000.0 kB"}, Example{9999500, 2, L"10.00 MB"},
        Example{99999999999999, 2, L"100.0000 TB"}));

TEST(FormatTrafficValue, TheLargestValuesDoNotWrapAround) {
    // 2^64 - 1 bytes is more than 2^64 bits; the bit units must not wrap to a
    // small amount.
    EXPECT_EQ(English(UINT64_MAX, 0), L"147,573,952.5897 Tb");
    EXPECT_EQ(English(UINT64_MAX, 1), L"134,217,728.0000 Tibit");
    EXPECT_EQ(English(UINT64_MAX, 3), L"16,777,216.0000 TiB");
    EXPECT_EQ(English(1ULL << 61, 0), L"18,446,744.0737 Tb");
}

TEST(FormatTrafficValue, UsesTheGivenSeparators) {
    EXPECT_EQ(FormatTrafficValue(1250000, 2, kGerman), L"1,25 MB");
    EXPECT_EQ(FormatTrafficValue(999999, 2, kGerman), L"1.000,0 kB");
    EXPECT_EQ(FormatTrafficValue(1ULL << 50, 3, NumberFormat{L"٫", L"\u00A0"}), L"1\u00A0024٫0000 TiB");
    EXPECT_EQ(FormatTrafficValue(999999, 2, NumberFormat{L".", L""}), L"1000.0 kB");
}

TEST(FormatTrafficValue, UsesTheInstalledUserFormat) {
    const NumberFormat previous = UserNumberFormat();
    SetUserNumberFormat(kGerman);
    EXPECT_EQ(FormatTrafficValue(999999, 2), L"1.000,0 kB");
    SetUserNumberFormat(previous);
    EXPECT_EQ(FormatTrafficValue(999999, 2), FormatTrafficValue(999999, 2, previous));
}

TEST(FormatTrafficValue, UnitIndicesOutsideTheTableFallBackToUnitZero) {
    for (int unit : {-1, 4, 100, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(English(125000, unit), L"1.00 Mb") << unit;
    }
}

TEST(DisplayUnits, CaptionsReadAsTheOptionsDialogListsThem) {
    EXPECT_EQ(UnitCaption(0), L"Kilobit (1 kb = 1000 Bit)");
    EXPECT_EQ(UnitCaption(1), L"Kibibit (1 Kibit = 1024 Bit)");
    EXPECT_EQ(UnitCaption(2), L"Kilobyte (1 kB = 1000 Byte)");
    EXPECT_EQ(UnitCaption(3), L"Kibibyte (1 KiB = 1024 Byte)");
    EXPECT_EQ(UnitCaption(7), UnitCaption(0));
}

}  // namespace
}  // namespace orvalet
