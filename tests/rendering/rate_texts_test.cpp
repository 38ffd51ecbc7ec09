#include "rendering/rate_texts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace orvalet {
namespace {

constexpr int kKibibyte = 3;

TEST(RateTexts, TheGraphsNameReadsTheRatesWithoutArrowsAndTheInterface) {
    std::wstring name = L"an earlier name, longer than the next, which leaves no trace of itself";
    const struct {
        std::optional<LabelRates> rates;
        std::wstring_view interfaceName, expected;
    } cases[] = {
        {LabelRates{.upload = 12'288, .download = 1'457'520, .displayUnit = kKibibyte}, L"Ethernet",
         L"Download 1.39 MiB/s, upload 12.0 KiB/s, Ethernet"},
        {std::nullopt, L"---", L"Download ---, upload ---, ---"},  // before the first render
    };
    for (const auto& c : cases) {
        WriteGraphName(name, c.rates, c.interfaceName);
        EXPECT_EQ(name, c.expected);
    }
}

}  // namespace
}  // namespace orvalet
