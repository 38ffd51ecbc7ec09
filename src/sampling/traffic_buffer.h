#pragma once
// The history of the two traffic figures, one upload and one download value
// per sampling tick, index 0 the oldest and BufferLen() - 1 the newest, with
// short moving averages of the newest values.
#include <cstdint>
#include <vector>

namespace orvalet {

using TTrafficBufferArray = std::vector<std::uint64_t>;

class TTrafficBuffer {
public:
    static constexpr std::int32_t DefaultBufferLen = 1800;  // thirty minutes at one sample a second
    static constexpr std::int32_t DefaultDAVBufferLen = 10;

    TTrafficBuffer();

    // Both histories always hold exactly BufferLen() values; slots that never
    // received a sample hold 0.
    std::int32_t BufferLen() const noexcept { return FBufferLen; }
    // Shrinking keeps the newest samples; growing keeps all samples as the
    // newest ones, with zeros in front. A negative length counts as 0, and a
    // history of length 0 ignores Add.
    void SetBufferLen(std::int32_t value);

    std::int32_t DAVBufferLen() const noexcept { return FDAVBufferLen; }
    // Never more than BufferLen().
    void SetDAVBufferLen(std::int32_t value) noexcept;

    const TTrafficBufferArray& UploadBuffer() const noexcept { return FUploadBuffer; }
    const TTrafficBufferArray& DownloadBuffer() const noexcept { return FDownloadBuffer; }

    // The newest samples; 0 for an empty history.
    std::uint64_t Upload() const noexcept;
    std::uint64_t Download() const noexcept;

    // Averages of the newest DAVBufferLen() samples, rounded half to even.
    // They always divide by DAVBufferLen(), so slots not yet filled count as 0.
    std::uint64_t UploadAV() const noexcept;
    std::uint64_t DownloadAV() const noexcept;

    void Clear() noexcept;
    // Appends one sample to each history, dropping the oldest.
    void Add(std::uint64_t newUpload, std::uint64_t newDownload) noexcept;
    // The largest upload or download sample among the newest lastNumValues;
    // lastNumValues <= 0 or beyond BufferLen() scans the whole history.
    std::uint64_t GetMaxValue(std::int32_t lastNumValues) const noexcept;

private:
    std::uint64_t Average(const TTrafficBufferArray& history) const noexcept;

    std::int32_t FBufferLen = 0;
    std::int32_t FDAVBufferLen = 0;
    TTrafficBufferArray FUploadBuffer;
    TTrafficBufferArray FDownloadBuffer;
};

}  // namespace orvalet
