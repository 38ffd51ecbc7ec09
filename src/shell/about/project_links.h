#pragma once
// The project's addresses, shown and opened by the about box. The project
// has no public home yet, so they lie on the reserved documentation domain;
// this is the one place to change them.
namespace orvalet {

inline constexpr wchar_t kWebPageAddress[] = L"https://orvalet.example.org/";
inline constexpr wchar_t kEmailAddress[] = L"mailto:orvalet@example.org";
inline constexpr wchar_t kDonationAddress[] = L"https://donate.example.org/give?project=orvalet&currency=EUR";

}  // namespace orvalet
