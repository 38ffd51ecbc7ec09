#include "base/error_handler.h"
#include "base/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvalet {
namespace {

TEST(RoundHalfEven, TiesGoToTheEvenNeighbourAndOutOfRangeInputsSaturate) {
    const struct {
        double x;
        std::int64_t rounded;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3},
                 {1e300, INT64_MAX}, {-1e300, INT64_MIN}, {std::nan(""), 0}};
    for (const auto& test : cases) EXPECT_EQ(RoundHalfEven(test.x), test.rounded) << test.x;
}

TEST(ErrorHandler, RunGuardedReportsAndContainsEveryException) {
    std::vector<std::wstring> messages;
    const ErrorHandler previous = SetErrorHandler([&](const std::wstring& m) { messages.push_back(m); });
    EXPECT_TRUE(RunGuarded([] {}));
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("disk on fire"); }));
    EXPECT_FALSE(RunGuarded([] { throw 42; }));
    EXPECT_EQ(messages, (std::vector<std::wstring>{L"disk on fire", L"Unknown error"}));

    SetErrorHandler([](const std::wstring&) { throw std::logic_error("handler broke"); });
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("x"); })) << "a throwing handler is contained";
    SetErrorHandler(previous);
}

}  // namespace
}  // namespace orvalet
