#include "rendering/rate_texts.h"

#include "rendering/traffic_format.h"

namespace orvalet {
namespace {

constexpr wchar_t kUploadArrow = L'\u25B2';
constexpr wchar_t kDownloadArrow = L'\u25BC';
constexpr std::wstring_view kNoRate = L"---";

void AppendRate(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit) {
    AppendTrafficValue(text, bytesPerSecond, displayUnit);
    text += L"/s";
}

void AppendRateText(std::wstring& text, wchar_t arrow, std::uint64_t bytesPerSecond, int displayUnit) {
    text.append({arrow, L' '});
    AppendRate(text, bytesPerSecond, displayUnit);
}

}  // namespace

void WriteUploadLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit) {
    text.clear();
    AppendUploadLabelText(text, bytesPerSecond, displayUnit);
}

void WriteDownloadLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit) {
    text.clear();
    AppendDownloadLabelText(text, bytesPerSecond, displayUnit);
}

void AppendUploadLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit) {
    AppendRateText(text, kUploadArrow, bytesPerSecond, displayUnit);
}

void AppendDownloadLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit) {
    AppendRateText(text, kDownloadArrow, bytesPerSecond, displayUnit);
}

void WriteMaxValueLabelText(std::wstring& text, std::uint64_t bytesPerSecond, int displayUnit) {
    text.assign(L"MAX: ");
    AppendRate(text, bytesPerSecond, displayUnit);
}

void WriteGraphName(std::wstring& name, const std::optional<LabelRates>& rates, std::wstring_view interfaceName) {
    const auto appendRate = [&](std::uint64_t LabelRates::*rate) {
        if (rates)
            AppendRate(name, (*rates).*rate, rates->displayUnit);
        else
            name.append(kNoRate);
    };
    name.assign(L"Download ");
    appendRate(&LabelRates::download);
    name.append(L", upload ");
    appendRate(&LabelRates::upload);
    name.append(L", ").append(interfaceName);
}

}  // namespace orvalet
