#include "rendering/graph_readout.h"

#include <charconv>

#include "rendering/rate_texts.h"
#include "sampling/traffic_buffer.h"

namespace orvalet {

std::optional<GraphReading> ReadGraphAt(const GraphArea& area, const TTrafficBuffer* history, int x, int y) {
    if (!history || !area.Contains(x, y)) return std::nullopt;
    const int secondsAgo = area.right - 1 - x;
    const int index = history->BufferLen() - 1 - secondsAgo;
    if (index < 0) return std::nullopt;
    const auto i = static_cast<std::size_t>(index);
    return GraphReading{secondsAgo, history->DownloadBuffer()[i], history->UploadBuffer()[i]};
}

void WriteReadoutText(std::wstring& text, const GraphReading& reading, int displayUnit) {
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, reading.secondsAgo).ptr;
    text.clear();
    for (const char* digit = digits; digit != end; ++digit) text.push_back(static_cast<wchar_t>(*digit));
    text.append(L" s ago\r\n");
    AppendDownloadLabelText(text, reading.download, displayUnit);
    text.append(L"\r\n");
    AppendUploadLabelText(text, reading.upload, displayUnit);
}

}  // namespace orvalet
