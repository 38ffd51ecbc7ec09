#include "shell/tray_hint.h"

#include <gtest/gtest.h>

#include <string>

namespace orvalet {
namespace {

TEST(TrayHint, JoinsTheRatesAndPutsTheNameOnALineOfItsOwnAfterALoneCarriageReturn) {
    EXPECT_EQ(BuildTrayHint(L"\u25bc 1.5 KiB/s", L"\u25b2 200 B/s", L"Ethernet"),
              L"\u25bc 1.5 KiB/s | \u25b2 200 B/s\rEthernet");
    EXPECT_EQ(BuildTrayHint(L"", L"", L""), L" | \r");
}

TEST(TrayHint, TheGraphsNameReadsTheRatesWithoutArrowsAndTheInterface) {
    const struct {
        std::wstring_view download, upload, interfaceName, name;
    } cases[] = {
        {L"\u25bc 1.39 MiB/s", L"\u25b2 12.0 KiB/s", L"All Hardware Interfaces",
         L"Download 1.39 MiB/s, upload 12.0 KiB/s, All Hardware Interfaces"},
        {L"---", L"---", L"---", L"Download ---, upload ---, ---"},  // before the first render
        {L"\u25bc", L"\u25b2x", L"", L"Download \u25bc, upload \u25b2x, "},
    };
    std::wstring name = L"an earlier name, longer than any of these, which none of them keeps a trace of";
    for (const auto& c : cases) {
        BuildGraphName(name, c.download, c.upload, c.interfaceName);
        EXPECT_EQ(name, c.name);
    }
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
}

}  // namespace
}  // namespace orvalet
