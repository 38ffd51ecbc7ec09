#include "sampling/traffic_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

namespace orvalet {
namespace {

constexpr std::uint64_t TwoToThe63 = std::uint64_t{1} << 63;
using Figures = std::vector<std::uint64_t>;

// The newest samples and the averages.
Figures Newest(const TTrafficBuffer& b) { return {b.Upload(), b.Download(), b.UploadAV(), b.DownloadAV()}; }

TEST(TrafficBuffer, HoldsThirtyMinutesThatAddShiftsAndClearZeroes) {
    TTrafficBuffer buffer;
    EXPECT_EQ(buffer.DAVBufferLen(), 10);
    EXPECT_EQ(buffer.UploadBuffer(), TTrafficBufferArray(1800, 0));
    EXPECT_EQ(buffer.DownloadBuffer(), TTrafficBufferArray(1800, 0));
    for (int last : {-1, 0, 1, 10, 1800, 5000}) EXPECT_EQ(buffer.GetMaxValue(last), 0u) << last;

    for (std::uint64_t i = 1; i <= 1801; ++i) buffer.Add(i, 10000 + i);
    EXPECT_EQ(buffer.BufferLen(), 1800);
    ASSERT_EQ(buffer.UploadBuffer().size(), 1800u);
    EXPECT_EQ(buffer.UploadBuffer()[0], 2u);  // the first sample is gone
    EXPECT_EQ(buffer.UploadBuffer()[1], 3u);
    EXPECT_EQ(buffer.DownloadBuffer()[0], 10002u);
    EXPECT_EQ(buffer.Upload(), 1801u);
    EXPECT_EQ(buffer.Download(), 11801u);

    buffer.SetDAVBufferLen(4);
    buffer.Clear();
    EXPECT_EQ(buffer.UploadBuffer(), TTrafficBufferArray(1800, 0));
    EXPECT_EQ(buffer.DownloadBuffer(), TTrafficBufferArray(1800, 0));
    EXPECT_EQ(buffer.DAVBufferLen(), 4);
    EXPECT_EQ(Newest(buffer), Figures(4, 0));
}

// The averages always divide by the ten-value window, so slots not yet filled
// count as 0; they round halves to even, and sum in single precision.
TEST(TrafficBuffer, AveragesOfTheNewestTenSamples) {
    const struct {
        Figures samples;
        std::uint64_t average;
    } cases[] = {
        {{10, 20, 30}, 6}, {{1, 2, 3}, 1}, {{25}, 2}, {{35}, 4}, {{15}, 2}, {{26}, 3}, {{4}, 0},
        {{900, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}, 7},  // only the newest ten count
        {Figures(10, 123456789), 123456792},       // a double sum would be exact
        {Figures(10, 100000001), 100000000},
        {Figures(10, UINT64_MAX), UINT64_MAX},  // the float sum overshoots 2^64
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(::testing::PrintToString(test.samples));
        TTrafficBuffer upload, download;  // each figure averages its own history
        for (std::uint64_t sample : test.samples) {
            upload.Add(sample, 0);
            download.Add(0, sample);
        }
        EXPECT_EQ((Figures{upload.UploadAV(), download.DownloadAV()}), Figures(2, test.average));
        EXPECT_EQ((Figures{upload.DownloadAV(), download.UploadAV()}), Figures(2, 0));
    }
    TTrafficBuffer buffer;
    for (int i = 0; i < 10; ++i) buffer.Add(TwoToThe63, 0);
    EXPECT_GE(buffer.UploadAV(), TwoToThe63);
    EXPECT_LT(buffer.UploadAV(), TwoToThe63 + (TwoToThe63 >> 20));
}

TEST(TrafficBuffer, GetMaxValueLooksAtTheNewestSamplesOfBothFiguresAsUnsignedNumbers) {
    TTrafficBuffer buffer;
    buffer.Add(900, 0);  // old peak
    for (int i = 0; i < 20; ++i) buffer.Add(10, 20);
    buffer.Add(50, 70);
    EXPECT_EQ(buffer.GetMaxValue(1), 70u);  // the download sample when it is larger
    EXPECT_EQ(buffer.GetMaxValue(21), 70u);
    EXPECT_EQ(buffer.GetMaxValue(22), 900u);
    for (int whole : {0, -5, 1800, 1801, 5000}) EXPECT_EQ(buffer.GetMaxValue(whole), 900u) << whole;

    buffer.Add(TwoToThe63 + 5, 1);
    buffer.Add(3, UINT64_MAX);
    EXPECT_EQ(buffer.GetMaxValue(1), UINT64_MAX);
    buffer.Add(4, 4);
    EXPECT_EQ(buffer.GetMaxValue(0), UINT64_MAX);
    EXPECT_EQ(buffer.GetMaxValue(1), 4u);
    EXPECT_EQ(buffer.GetMaxValue(3), UINT64_MAX);
}

TEST(TrafficBuffer, ResizingKeepsTheNewestSamplesAndTheWindowWithinTheHistoryDownToNothing) {
    TTrafficBuffer buffer;
    buffer.SetDAVBufferLen(5000);
    EXPECT_EQ(buffer.DAVBufferLen(), 1800);
    for (std::uint64_t i = 1; i <= 1800; ++i) buffer.Add(i, 2 * i);
    buffer.SetBufferLen(60);
    EXPECT_EQ(buffer.DAVBufferLen(), 60);
    TTrafficBufferArray newest(60);
    std::iota(newest.begin(), newest.end(), 1741);
    EXPECT_EQ(buffer.UploadBuffer(), newest);
    for (std::uint64_t& sample : newest) sample *= 2;
    EXPECT_EQ(buffer.DownloadBuffer(), newest);
    buffer.Add(1, 1);
    EXPECT_EQ(buffer.UploadBuffer()[0], 1742u);
    EXPECT_EQ(buffer.Upload(), 1u);

    buffer.SetBufferLen(3);
    buffer.SetBufferLen(5);  // growing keeps the samples as the newest, zeros in front, and the window
    EXPECT_EQ(buffer.UploadBuffer(), (TTrafficBufferArray{0, 0, 1799, 1800, 1}));
    EXPECT_EQ(buffer.DownloadBuffer(), (TTrafficBufferArray{0, 0, 3598, 3600, 1}));
    EXPECT_EQ(buffer.DAVBufferLen(), 3);
    EXPECT_EQ(buffer.Download(), 1u);
    buffer.SetDAVBufferLen(-3);
    EXPECT_EQ(buffer.UploadAV(), 0u);

    for (int length : {-7, 0}) {  // empty histories ignore Add and answer 0
        buffer.SetDAVBufferLen(3);
        buffer.SetBufferLen(length);
        EXPECT_EQ(buffer.BufferLen(), 0);
        EXPECT_EQ(buffer.DAVBufferLen(), 0);
        EXPECT_TRUE(buffer.UploadBuffer().empty());
        buffer.Add(1, 2);
        EXPECT_EQ(Newest(buffer), Figures(4, 0));
        EXPECT_EQ((Figures{buffer.GetMaxValue(0), buffer.GetMaxValue(1)}), Figures(2, 0));
        buffer.SetBufferLen(3);
        buffer.Add(5, 5);
    }
}

}  // namespace
}  // namespace orvalet
