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

inline constexpr std::size_t kGuidTextLength = 38;

// Selects the sum of all hardware interfaces; no real interface carries it.
inline constexpr Guid AllHardwareInterfacesGUID{
    0xDE4D6822, 0x35B0, 0x436D, {0xA6, 0xE9, 0x37, 0x7B, 0x4C, 0x76, 0xEA, 0x42}};

// Accepts exactly the form ToString produces, with hex digits in either case;
// anything else (other lengths, missing braces or dashes, stray characters)
// gives no value.
std::optional<Guid> ParseGuid(std::wstring_view text);

}  // namespace orvalet
