#pragma once
#include <charconv>
#include <concepts>
#include <string>

namespace orvalet {

// An integer's decimal digits, with a minus sign where it is negative and
// no separators: the form of dialog numbers and resource ids. std::to_wstring
// would do the same through the C library's wide printf, which costs the exe
// some 11 KB with MinGW.
template <std::integral Integer>
std::wstring DecimalText(Integer value) {
    char digits[24];  // 20 digits of a 64-bit value and a sign
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::wstring(digits, end);
}

}  // namespace orvalet
