#include "shell/tray/tray_hint.h"

namespace orvalet {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

void BuildTrayHint(std::wstring& hint, std::wstring_view downloadLabel, std::wstring_view uploadLabel,
                   std::wstring_view interfaceLabel) {
    hint.assign(downloadLabel).append(L" | ").append(uploadLabel);
    hint.push_back(L'\r');
    hint.append(interfaceLabel);
}

std::wstring TrayHintStorage() {
    std::wstring hint;
    hint.reserve(512);
    return hint;
}

std::wstring_view TrayHintPart(std::wstring_view text) {
    if (text.size() <= kMaxTrayHintLength) return text;
    std::size_t length = kMaxTrayHintLength;
    if (IsHighSurrogate(text[length - 1])) --length;
    return text.substr(0, length);
}

}  // namespace orvalet
