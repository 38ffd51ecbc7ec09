#include "sampling/traffic_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orvalet {
namespace {

constexpr std::uint64_t TwoToThe63 = std::uint64_t{1} << 63;

TEST(TrafficBuffer, StartsWithThirtyMinutesOfZerosAndATenValueWindow) {
    const TTrafficBuffer buffer;
    EXPECT_EQ(buffer.BufferLen(), 1800);
    EXPECT_EQ(buffer.DAVBufferLen(), 10);
    EXPECT_EQ(buffer.UploadBuffer(), TTrafficBufferArray(1800, 0));
    EXPECT_EQ(buffer.DownloadBuffer(), TTrafficBufferArray(1800, 0));
    EXPECT_EQ(buffer.Upload(), 0u);
    EXPECT_EQ(buffer.Download(), 0u);
    EXPECT_EQ(buffer.UploadAV(), 0u);
    EXPECT_EQ(buffer.DownloadAV(), 0u);
    for (int last : {-1, 0, 1, 10, 1800, 5000}) EXPECT_EQ(buffer.GetMaxValue(last), 0u) << last;
}

TEST(TrafficBuffer, AddShiftsTheHistoryAndKeepsTheTwoFiguresApart) {
    TTrafficBuffer buffer;
    for (std::uint64_t i = 1; i <= 1801; ++i) buffer.Add(i, 10000 + i);
    EXPECT_EQ(buffer.UploadBuffer().size(), 1800u);
    EXPECT_EQ(buffer.UploadBuffer()[0], 2u);  // the first sample is gone
    EXPECT_EQ(buffer.UploadBuffer()[1], 3u);
    EXPECT_EQ(buffer.UploadBuffer()[1799], 1801u);
    EXPECT_EQ(buffer.DownloadBuffer()[0], 10002u);
    EXPECT_EQ(buffer.DownloadBuffer()[1799], 11801u);
    EXPECT_EQ(buffer.Upload(), 1801u);
    EXPECT_EQ(buffer.Download(), 11801u);
}

TEST(TrafficBuffer, AveragesDivideByTheWindowEvenWhileItIsFilling) {
    TTrafficBuffer buffer;
    buffer.Add(10, 1);
    buffer.Add(20, 2);
    buffer.Add(30, 3);
    EXPECT_EQ(buffer.Upload(), 30u);
    EXPECT_EQ(buffer.UploadAV(), 6u);  // 60 / 10
    EXPECT_EQ(buffer.DownloadAV(), 1u);  // 0.6

    // Only the newest ten samples count.
    for (int i = 0; i < 10; ++i) buffer.Add(7, 0);
    EXPECT_EQ(buffer.UploadAV(), 7u);
    EXPECT_EQ(buffer.DownloadAV(), 0u);
}

TEST(TrafficBuffer, AveragesRoundHalvesToTheEvenNeighbour) {
    const auto averageOfOneSample = [](std::uint64_t sample) {
        TTrafficBuffer buffer;
        buffer.Add(sample, sample);
        EXPECT_EQ(buffer.UploadAV(), buffer.DownloadAV());
        return buffer.UploadAV();
    };
    EXPECT_EQ(averageOfOneSample(25), 2u);
    EXPECT_EQ(averageOfOneSample(35), 4u);
    EXPECT_EQ(averageOfOneSample(15), 2u);
    EXPECT_EQ(averageOfOneSample(26), 3u);
    EXPECT_EQ(averageOfOneSample(4), 0u);
}

TEST(TrafficBuffer, AveragesAccumulateInSinglePrecision) {
    TTrafficBuffer buffer;
    for (int i = 0; i < 10; ++i) buffer.Add(123456789, 100000001);
    // A double accumulator would give the exact 123456789 and 100000001.
    EXPECT_EQ(buffer.UploadAV(), 123456792u);
    EXPECT_EQ(buffer.DownloadAV(), 100000000u);
}

TEST(TrafficBuffer, ValuesAboveTwoToTheSixtyThreeStayUnsigned) {
    TTrafficBuffer buffer;
    buffer.Add(TwoToThe63 + 5, 1);
    buffer.Add(3, UINT64_MAX);
    EXPECT_EQ(buffer.GetMaxValue(0), UINT64_MAX);
    EXPECT_EQ(buffer.GetMaxValue(1), UINT64_MAX);
    buffer.Add(4, 4);
    EXPECT_EQ(buffer.GetMaxValue(0), UINT64_MAX);
    EXPECT_EQ(buffer.GetMaxValue(1), 4u);
    EXPECT_EQ(buffer.GetMaxValue(3), UINT64_MAX);

    for (int i = 0; i < 10; ++i) buffer.Add(TwoToThe63, UINT64_MAX);
    EXPECT_GE(buffer.UploadAV(), TwoToThe63);
    EXPECT_LT(buffer.UploadAV(), TwoToThe63 + (TwoToThe63 >> 20));
    // The single-precision sum overshoots 2^64; the result saturates.
    EXPECT_EQ(buffer.DownloadAV(), UINT64_MAX);
}

TEST(TrafficBuffer, GetMaxValueLooksAtTheNewestSamplesOfBothFigures) {
    TTrafficBuffer buffer;
    buffer.Add(900, 0);  // old peak
    for (int i = 0; i < 20; ++i) buffer.Add(10, 20);
    buffer.Add(50, 70);

    EXPECT_EQ(buffer.GetMaxValue(1), 70u);  // the download sample when it is larger
    EXPECT_EQ(buffer.GetMaxValue(21), 70u);
    EXPECT_EQ(buffer.GetMaxValue(22), 900u);
    for (int whole : {0, -5, 1801, 5000}) EXPECT_EQ(buffer.GetMaxValue(whole), 900u) << whole;
    EXPECT_EQ(buffer.GetMaxValue(1800), 900u);
}

TEST(TrafficBuffer, AveragingWindowNeverExceedsTheHistory) {
    TTrafficBuffer buffer;
    buffer.SetDAVBufferLen(5000);
    EXPECT_EQ(buffer.DAVBufferLen(), 1800);
    buffer.SetBufferLen(60);
    EXPECT_EQ(buffer.DAVBufferLen(), 60);
    buffer.SetBufferLen(100);
    EXPECT_EQ(buffer.DAVBufferLen(), 60);  // growing leaves it
    buffer.SetDAVBufferLen(3);
    EXPECT_EQ(buffer.DAVBufferLen(), 3);
}

TEST(TrafficBuffer, ShrinkingKeepsTheNewestSamplesInOrder) {
    TTrafficBuffer buffer;
    for (std::uint64_t i = 1; i <= 1800; ++i) buffer.Add(i, 2 * i);
    buffer.SetBufferLen(60);
    ASSERT_EQ(buffer.UploadBuffer().size(), 60u);
    ASSERT_EQ(buffer.DownloadBuffer().size(), 60u);
    for (std::size_t i = 0; i < 60; ++i) {
        EXPECT_EQ(buffer.UploadBuffer()[i], 1741 + i);
        EXPECT_EQ(buffer.DownloadBuffer()[i], 2 * (1741 + i));
    }
    EXPECT_EQ(buffer.Upload(), 1800u);
    buffer.Add(1, 1);
    EXPECT_EQ(buffer.UploadBuffer()[0], 1742u);
    EXPECT_EQ(buffer.UploadBuffer()[59], 1u);
}

TEST(TrafficBuffer, GrowingKeepsTheSamplesAsTheNewestWithZerosInFront) {
    TTrafficBuffer buffer;
    buffer.SetBufferLen(3);
    buffer.Add(1, 10);
    buffer.Add(2, 20);
    buffer.Add(3, 30);
    buffer.SetBufferLen(5);
    EXPECT_EQ(buffer.UploadBuffer(), (TTrafficBufferArray{0, 0, 1, 2, 3}));
    EXPECT_EQ(buffer.DownloadBuffer(), (TTrafficBufferArray{0, 0, 10, 20, 30}));
    EXPECT_EQ(buffer.Upload(), 3u);
}

TEST(TrafficBuffer, ClearZeroesBothHistoriesAndKeepsTheLengths) {
    TTrafficBuffer buffer;
    buffer.SetDAVBufferLen(4);
    for (int i = 0; i < 5; ++i) buffer.Add(8, 9);
    buffer.Clear();
    EXPECT_EQ(buffer.UploadBuffer(), TTrafficBufferArray(1800, 0));
    EXPECT_EQ(buffer.DownloadBuffer(), TTrafficBufferArray(1800, 0));
    EXPECT_EQ(buffer.BufferLen(), 1800);
    EXPECT_EQ(buffer.DAVBufferLen(), 4);
    EXPECT_EQ(buffer.UploadAV(), 0u);
}

TEST(TrafficBuffer, EmptyHistoriesAndWindowsAnswerZero) {
    for (int length : {0, -7}) {
        TTrafficBuffer buffer;
        buffer.Add(5, 5);
        buffer.SetBufferLen(length);
        EXPECT_EQ(buffer.BufferLen(), 0);
        EXPECT_EQ(buffer.DAVBufferLen(), 0);
        EXPECT_TRUE(buffer.UploadBuffer().empty());
        buffer.Add(1, 2);
        EXPECT_EQ(buffer.Upload(), 0u);
        EXPECT_EQ(buffer.Download(), 0u);
        EXPECT_EQ(buffer.UploadAV(), 0u);
        EXPECT_EQ(buffer.GetMaxValue(0), 0u);
        EXPECT_EQ(buffer.GetMaxValue(1), 0u);
    }
    TTrafficBuffer buffer;
    buffer.Add(100, 100);
    buffer.SetDAVBufferLen(-3);
    EXPECT_EQ(buffer.UploadAV(), 0u);
}

}  // namespace
}  // namespace orvalet
