#include "rendering/traffic_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace orvalet {
namespace {

const NumberFormat kEnglish{L".", L","};
const NumberFormat kGerman{L",", L"."};

TEST(FormatTrafficValue, WritesTheExpectedText) {
    struct Case {
        std::uint64_t value;
        int unit;
        const wchar_t* text;
        NumberFormat format = kEnglish;
    };
    const Case cases[] = {
        {0, 0, L"0.0 kb"}, {125, 0, L"1.0 kb"}, {124999, 0, L"1,000.0 kb"}, {125000, 0, L"1.00 Mb"},
        {1250000, 0, L"10.00 Mb"}, {150, 1, L"1.2 Kibit"}, {1250000, 1, L"9.54 Mibit"}, {1250, 2, L"1.3 kB"},
        {999999, 2, L"1,000.0 kB"}, {1250000, 2, L"1.25 MB"}, {5000000000, 2, L"5.000 GB"},
        {1023, 3, L"1.0 KiB"}, {1048575, 3, L"1,024.0 KiB"}, {1048576, 3, L"1.00 MiB"},
        {1250000, 3, L"1.19 MiB"}, {3000000000000, 3, L"2.7285 TiB"},
        // Zero reads 0.0 of the kilo level; amounts below a kilo-unit stay there.
        {0, 1, L"0.0 Kibit"}, {0, 2, L"0.0 kB"}, {0, 3, L"0.0 KiB"}, {100, 2, L"0.1 kB"}, {1, 2, L"0.0 kB"},
        {50, 2, L"0.1 kB"}, {49, 2, L"0.0 kB"},
        // Level thresholds are inclusive.
        {1000000, 2, L"1.00 MB"}, {1000000, 3, L"976.6 KiB"}, {1000000000, 2, L"1.000 GB"},
        {1000000000000, 2, L"1.0000 TB"}, {1ULL << 50, 3, L"1,024.0000 TiB"},
        {1234567ULL * 1000000000000ULL, 2, L"1,234,567.0000 TB"},
        // Rounding carries through nines into a new integer digit.
        {999950, 2, L"1,000.0 kB"}, {9999500, 2, L"10.00 MB"}, {99999999999999, 2, L"100.0000 TB"},
        // 2^64 - 1 bytes is more than 2^64 bits: the bit units must not wrap.
        {UINT64_MAX, 0, L"147,573,952.5897 Tb"}, {UINT64_MAX, 1, L"134,217,728.0000 Tibit"},
        {UINT64_MAX, 3, L"16,777,216.0000 TiB"}, {1ULL << 61, 0, L"18,446,744.0737 Tb"},
        // Unit indices outside the table fall back to unit 0.
        {125000, -1, L"1.00 Mb"}, {125000, 4, L"1.00 Mb"}, {125000, INT_MIN, L"1.00 Mb"},
        {125000, INT_MAX, L"1.00 Mb"},
        // The given separators.
        {1250000, 2, L"1,25 MB", kGerman}, {999999, 2, L"1.000,0 kB", kGerman},
        {1ULL << 50, 3, L"1.024,0000 TiB", kGerman},
        {1ULL << 50, 3, L"1\u00A0024\u066B0000 TiB", {L"\u066B", L"\u00A0"}},
        {999999, 2, L"1000.0 kB", {L".", L""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << " in unit " << c.unit);
        EXPECT_EQ(FormatTrafficValue(c.value, c.unit, c.format), c.text);
        std::wstring appended = L"MAX: ";
        AppendTrafficValue(appended, c.value, c.unit, c.format);
        EXPECT_EQ(appended, L"MAX: " + std::wstring(c.text));
    }
}

TEST(FormatTrafficValue, UsesTheInstalledUserFormat) {
    const NumberFormat previous = UserNumberFormat();
    SetUserNumberFormat(kGerman);
    EXPECT_EQ(FormatTrafficValue(999999, 2), L"1.000,0 kB");
    SetUserNumberFormat(previous);
    EXPECT_EQ(FormatTrafficValue(999999, 2), FormatTrafficValue(999999, 2, previous));
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
