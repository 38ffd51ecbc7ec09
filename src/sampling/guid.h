#pragma once
// A GUID as a plain value, independent of windows.h, with the registry's
// 38-character text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvalet {

struct Guid {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    // Braces, upper-case hex digits, groups of 8-4-4-4-12.
    std::wstring ToString() const;

    friend constexpr bool operator==(const Guid&, const Guid&) = default;
};

inline constexpr std::size_t GuidTextLength = 38;

// Accepts exactly the form ToString produces, with hex digits in either case;
// anything else (other lengths, missing braces or dashes, stray characters)
// gives no value.
std::optional<Guid> ParseGuid(std::wstring_view text);

}  // namespace orvalet
