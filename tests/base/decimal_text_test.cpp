#include "base/decimal_text.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace orvalet {
namespace {

TEST(DecimalText, WritesEveryIntegerTypesDigitsWithItsSign) {
    EXPECT_EQ(DecimalText(0), L"0");
    EXPECT_EQ(DecimalText(72), L"72");
    EXPECT_EQ(DecimalText(-5), L"-5");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), L"-9223372036854775808");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::uint64_t>::max()), L"18446744073709551615");
}

}  // namespace
}  // namespace orvalet
