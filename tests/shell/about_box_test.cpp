#include "shell/about/about_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace orvalet {
namespace {

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

TEST(AboutTexts, TheMemoShowsTheLicenceFileWordForWordThenItsGermanRendering) {
    std::ifstream file(ORVALET_SOURCE_DIR "/LICENSE");
    ASSERT_TRUE(file);
    const std::string licence((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    const std::wstring memo(LicenceMemoText());
    const std::size_t german = memo.find(L"MIT-Lizenz");
    ASSERT_NE(german, std::wstring::npos);
    const std::wstring english = memo.substr(0, german);
    ASSERT_TRUE(std::all_of(english.begin(), english.end(), [](wchar_t c) { return c < 0x80; }));
    EXPECT_EQ(Words(std::string(english.begin(), english.end())), Words(licence));
    EXPECT_NE(memo.find(L"Copyright (c) 2026 the Orvalet developers", german), std::wstring::npos);
    for (std::size_t i = memo.find(L'\n'); i != std::wstring::npos; i = memo.find(L'\n', i + 1))
        EXPECT_EQ(memo[i - 1], L'\r') << "lines end in CR LF for the edit control, at " << i;
}

}  // namespace
}  // namespace orvalet
