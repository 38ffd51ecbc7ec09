#pragma once
// Every rate text the user reads or hears: the graph's labels, the readout,
// and the graph's name for screen readers. All of them go through
// AppendTrafficValue, so a unit and the regional separators look the same
// everywhere.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvalet {

// Label texts, e.g. "▲ 1.3 kB/s", "▼ 10.00 Mb/s", "MAX: 1.00 Mb/s", written
// over `text` in its own storage, which grows only for a longer text.
void WriteUploadLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit);
void WriteDownloadLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit);
void WriteMaxValueLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit);
// The rate texts appended to `text`.
void AppendUploadLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit);
void AppendDownloadLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit);

// The rates the graph's upload and download labels were written from.
struct LabelRates {
    std::uint64_t upload = 0;
    std::uint64_t download = 0;
    int displayUnit = 0;
    friend bool operator==(const LabelRates&, const LabelRates&) = default;
};

// The graph's accessible name, which screen readers read:
// "Download 1.39 MiB/s, upload 12.0 KiB/s, Ethernet", written over `name` in
// its own storage. Without rates yet (before the first paint) each reads "---".
void WriteGraphName(std::wstring& name, const std::optional<LabelRates>& rates, std::wstring_view interfaceName);

}  // namespace orvalet
