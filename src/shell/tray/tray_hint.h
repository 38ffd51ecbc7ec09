#pragma once
// The text of the notification-area icon's hint.
#include <cstddef>
#include <string>
#include <string_view>

namespace orvalet {

// The notification area shows at most this many characters of a hint.
inline constexpr std::size_t kMaxTrayHintLength = 127;

// "<download> | <upload>" on the first line and the interface name on the
// second. The line break is a lone carriage return: the notification area
// breaks the tooltip on it, and a CR LF pair would cost one of the few
// characters the hint may hold. Written over `hint` in its own storage,
// which grows only for a longer hint.
void BuildTrayHint(std::wstring& hint, std::wstring_view downloadLabel, std::wstring_view uploadLabel,
                   std::wstring_view interfaceLabel);

// An empty string with room for any hint the meter builds (two rate texts and
// an interface name of up to 256 characters), so rebuilding it never allocates;
// the graph's name (rate_texts.h) fits too.
std::wstring TrayHintStorage();

// The first kMaxTrayHintLength characters of text. A surrogate pair is never
// split: a cut that would leave half a character drops it whole.
std::wstring_view TrayHintPart(std::wstring_view text);

}  // namespace orvalet
