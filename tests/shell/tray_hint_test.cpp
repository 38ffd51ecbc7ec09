#include "shell/tray/tray_hint.h"
#include "support/tray_hint_copies.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace orvalet {
namespace {

TEST(TrayHint, JoinsTheRatesAndPutsTheNameOnALineOfItsOwnAfterALoneCarriageReturn) {
    EXPECT_EQ(BuildTrayHint(L"\u25bc 1.5 KiB/s", L"\u25b2 200 B/s", L"Ethernet"),
              L"\u25bc 1.5 KiB/s | \u25b2 200 B/s\rEthernet");
    EXPECT_EQ(BuildTrayHint(L"", L"", L""), L" | \r");
}

TEST(TrayHint, TheCutKeepsTheFirst127CharactersButNeverHalfASurrogatePair) {
    const std::wstring whole(kMaxTrayHintLength, L'x');
    EXPECT_EQ(CutToTrayHintLength(whole), whole);
    EXPECT_EQ(CutToTrayHintLength(L""), L"");

    std::wstring text;
    for (int i = 0; i < 300; ++i) text.push_back(static_cast<wchar_t>(L'a' + i % 26));
    EXPECT_EQ(CutToTrayHintLength(text), text.substr(0, 127));

    std::wstring pair(126, L'x');
    pair += L"\xD83D\xDCF6";  // one character as a surrogate pair, at positions 126 and 127
    pair += L"tail";
    EXPECT_EQ(CutToTrayHintLength(pair), std::wstring(126, L'x'));

    // Only a high surrogate (D800 to DBFF) is left out at the cut.
    for (const auto& [last, kept] : {std::pair{L'\xD7FF', 127u}, {L'\xD800', 126u}, {L'\xDBFF', 126u},
                                     {L'\xDC00', 127u}}) {
        const std::wstring cut = std::wstring(126, L'x') + last + L"tail";
        EXPECT_EQ(CutToTrayHintLength(cut).size(), kept) << static_cast<int>(last);
    }
}

}  // namespace
}  // namespace orvalet
