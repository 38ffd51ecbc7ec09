#include "base/error_handler.h"
#include "base/rounding.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvalet {
namespace {

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
}

TEST(RoundHalfEven, OutOfRangeInputsSaturate) {
    EXPECT_EQ(RoundHalfEven(1e300), INT64_MAX);
    EXPECT_EQ(RoundHalfEven(-1e300), INT64_MIN);
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

class ErrorHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = SetErrorHandler([this](const std::wstring& m) { messages_.push_back(m); });
    }
    void TearDown() override { SetErrorHandler(previous_); }

    std::vector<std::wstring> messages_;
    ErrorHandler previous_;
};

TEST_F(ErrorHandlerTest, RunGuardedReportsAndContains) {
    EXPECT_TRUE(RunGuarded([] {}));
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("disk on fire"); }));
    EXPECT_FALSE(RunGuarded([] { throw 42; }));
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0], L"disk on fire");
    EXPECT_EQ(messages_[1], L"Unknown error");
}

TEST_F(ErrorHandlerTest, AThrowingHandlerIsContained) {
    SetErrorHandler([](const std::wstring&) { throw std::logic_error("handler broke"); });
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("x"); }));
}

}  // namespace
}  // namespace orvalet
