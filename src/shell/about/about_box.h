#pragma once
// The fixed texts of the about box. The version and build date are part of
// the program, not read from the executable's version information; the
// version is the project's (CMakeLists.txt).
#include <string_view>

#include "shell/version.h"

namespace orvalet {

inline constexpr wchar_t kAboutBoxCaption[] = L"About Orvalet";
inline constexpr wchar_t kProgramNameCaption[] = L"Orvalet";
inline constexpr wchar_t kProgramVersion[] = L"" ORVALET_VERSION_TEXT " (64-bit)";
inline constexpr wchar_t kBuildDateCaption[] = L"Build date:";
inline constexpr wchar_t kBuildDate[] = L"October 31, 2019";
inline constexpr wchar_t kCreditLine[] = L"\u00A9 2026 the Orvalet developers";
inline constexpr wchar_t kDistributionLine[] = L"Free software, MIT licence";

// The licence as the about box shows it, lines separated by CR LF: the MIT
// licence of the LICENSE file, then a German rendering of it. Paragraphs
// are single lines, so that the box wraps them to its width.
std::wstring_view LicenceMemoText();

}  // namespace orvalet
