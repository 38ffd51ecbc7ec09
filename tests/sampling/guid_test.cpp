#include "sampling/guid.h"

#include <gtest/gtest.h>

namespace orvalet {
namespace {

constexpr Guid Sample{0xDE4D6822, 0x35B0, 0x436D, {0xA6, 0xE9, 0x37, 0x7B, 0x4C, 0x76, 0xEA, 0x42}};

TEST(Guid, TextFormIsBracedUpperCaseEightFourFourFourTwelveAndParsesBackInEitherCase) {
    EXPECT_EQ(Sample.ToString(), L"{DE4D6822-35B0-436D-A6E9-377B4C76EA42}");
    EXPECT_EQ((Guid{0x1, 0x2, 0x3, {0, 0x4, 0, 0, 0, 0, 0, 0x5}}).ToString(),
              L"{00000001-0002-0003-0004-000000000005}");  // leading zeros kept
    for (const wchar_t* text : {L"{DE4D6822-35B0-436D-A6E9-377B4C76EA42}", L"{de4d6822-35b0-436d-a6e9-377b4c76ea42}",
                                L"{De4D6822-35b0-436D-a6E9-377b4C76eA42}"}) {
        EXPECT_EQ(ParseGuid(text), Sample);
    }
    const Guid highBits{0xFFFFFFFF, 0xFFFF, 0x8000, {0xFF, 0x80, 0x7F, 0x01, 0x10, 0xAB, 0xCD, 0xEF}};
    EXPECT_EQ(ParseGuid(highBits.ToString()), highBits);

    // Equality looks at all sixteen bytes.
    Guid lastByte = Sample, firstBit = Sample;
    lastByte.Data4[7] ^= 1;
    firstBit.Data1 ^= 0x80000000;
    EXPECT_NE(lastByte, Sample);
    EXPECT_NE(firstBit, Sample);
}

TEST(Guid, RejectsEverythingElse) {
    for (const wchar_t* text : {
             L"",
             L"DE4D6822-35B0-436D-A6E9-377B4C76EA42",      // no braces
             L"{DE4D6822-35B0-436D-A6E9-377B4C76EA42",     // one brace
             L"(DE4D6822-35B0-436D-A6E9-377B4C76EA42)",    // wrong brackets
             L"{DE4D6822-35B0-436D-A6E9-377B4C76EA4}",     // short last group
             L"{DE4D6822-35B0-436D-A6E9-377B4C76EA421}",   // long last group
             L"{DE4D682235B0-436D-A6E9-377B4C76EA42A}",    // dash moved
             L"{DE4D6822+35B0-436D-A6E9-377B4C76EA42}",    // wrong separator
             L"{DE4D6822-35B0-436D-A6E9-377B4C76EG42}",    // not hex
             L"{DE4D6822-35B0-436D-A6E9-377B4C76E 42}",    // space
             L"{0x4D6822-35B0-436D-A6E9-377B4C76EA42}",    // prefix
             L" {DE4D6822-35B0-436D-A6E9-377B4C76EA42}",   // padding
         }) {
        EXPECT_FALSE(ParseGuid(text).has_value()) << testing::PrintToString(std::wstring(text));
    }
    // An embedded NUL is a character like any other, not an end of text.
    std::wstring withNul = L"{DE4D6822-35B0-436D-A6E9-377B4C76EA42}";
    withNul[5] = L'\0';
    EXPECT_FALSE(ParseGuid(withNul).has_value());
}

}  // namespace
}  // namespace orvalet
