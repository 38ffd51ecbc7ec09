#include "sampling/traffic_buffer.h"

#include <algorithm>

#include "base/rounding.h"

namespace orvalet {
namespace {

// Rounds half to even like RoundHalfEven, over the whole unsigned 64-bit range.
std::uint64_t RoundHalfEvenUnsigned(double x) noexcept {
    if (!(x > 0.0)) return 0;
    if (x >= 0x1p64) return UINT64_MAX;
    if (x < 0x1p63) return static_cast<std::uint64_t>(RoundHalfEven(x));
    return static_cast<std::uint64_t>(x);  // doubles this large are whole numbers
}

// Keeps the newest `length` samples, or all of them as the newest when the
// history grows; new slots in front hold 0.
void ResizeKeepingNewest(TTrafficBufferArray& history, std::size_t length) {
    const std::size_t old = history.size();
    if (length < old) {
        history.erase(history.begin(), history.begin() + static_cast<std::ptrdiff_t>(old - length));
    } else {
        history.insert(history.begin(), length - old, std::uint64_t{0});
    }
}

}  // namespace

TTrafficBuffer::TTrafficBuffer() {
    SetBufferLen(DefaultBufferLen);
    SetDAVBufferLen(DefaultDAVBufferLen);
}

void TTrafficBuffer::SetBufferLen(std::int32_t value) {
    value = std::max(value, 0);
    ResizeKeepingNewest(FUploadBuffer, static_cast<std::size_t>(value));
    ResizeKeepingNewest(FDownloadBuffer, static_cast<std::size_t>(value));
    FBufferLen = value;
    FDAVBufferLen = std::min(FDAVBufferLen, FBufferLen);
}

void TTrafficBuffer::SetDAVBufferLen(std::int32_t value) noexcept { FDAVBufferLen = std::min(value, FBufferLen); }

std::uint64_t TTrafficBuffer::Upload() const noexcept { return FBufferLen < 1 ? 0 : FUploadBuffer.back(); }

std::uint64_t TTrafficBuffer::Download() const noexcept { return FBufferLen < 1 ? 0 : FDownloadBuffer.back(); }

std::uint64_t TTrafficBuffer::UploadAV() const noexcept { return Average(FUploadBuffer); }

std::uint64_t TTrafficBuffer::DownloadAV() const noexcept { return Average(FDownloadBuffer); }

// The running sum is held in single precision on purpose: the averages are
// display figures, and seven significant digits are all the labels show.
std::uint64_t TTrafficBuffer::Average(const TTrafficBufferArray& history) const noexcept {
    const std::int32_t count = FDAVBufferLen;
    if (count <= 0) return 0;
    float sum = 0.0f;
    for (std::int32_t i = 1; i <= count; ++i) {
        const double share = static_cast<double>(history[static_cast<std::size_t>(FBufferLen - i)]) / count;
        sum = static_cast<float>(static_cast<double>(sum) + share);
    }
    return RoundHalfEvenUnsigned(static_cast<double>(sum));
}

void TTrafficBuffer::Clear() noexcept {
    std::fill(FUploadBuffer.begin(), FUploadBuffer.end(), 0);
    std::fill(FDownloadBuffer.begin(), FDownloadBuffer.end(), 0);
}

// A plain shift rather than a ring buffer, so readers can walk the history by
// position: newest last.
void TTrafficBuffer::Add(std::uint64_t newUpload, std::uint64_t newDownload) noexcept {
    if (FBufferLen < 1) return;
    std::copy(FUploadBuffer.begin() + 1, FUploadBuffer.end(), FUploadBuffer.begin());
    std::copy(FDownloadBuffer.begin() + 1, FDownloadBuffer.end(), FDownloadBuffer.begin());
    FUploadBuffer.back() = newUpload;
    FDownloadBuffer.back() = newDownload;
}

std::uint64_t TTrafficBuffer::GetMaxValue(std::int32_t lastNumValues) const noexcept {
    const bool wholeHistory = lastNumValues <= 0 || lastNumValues > FBufferLen;
    const auto first = static_cast<std::ptrdiff_t>(wholeHistory ? 0 : FBufferLen - lastNumValues);
    const auto largest = [first](const TTrafficBufferArray& history) -> std::uint64_t {
        const auto it = std::max_element(history.begin() + first, history.end());
        return it == history.end() ? 0 : *it;
    };
    return std::max(largest(FUploadBuffer), largest(FDownloadBuffer));
}

}  // namespace orvalet
