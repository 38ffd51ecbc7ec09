#include "rendering/win32/number_format_win.h"

#include <windows.h>

#include <iterator>

namespace orvalet::win32 {
namespace {

// LOCALE_SDECIMAL and LOCALE_STHOUSAND hold at most four characters.
void ReadLocaleText(LCTYPE item, std::wstring& text) {
    wchar_t buffer[16]{};
    const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, static_cast<int>(std::size(buffer)));
    if (length > 0) text.assign(buffer, static_cast<std::size_t>(length - 1));  // without the terminator
}

}  // namespace

NumberFormat ReadUserNumberFormat() {
    NumberFormat format;
    ReadLocaleText(LOCALE_SDECIMAL, format.decimalSeparator);
    ReadLocaleText(LOCALE_STHOUSAND, format.thousandsSeparator);
    if (format.decimalSeparator.empty()) format.decimalSeparator = NumberFormat{}.decimalSeparator;
    return format;
}

void InstallUserNumberFormat() { SetUserNumberFormat(ReadUserNumberFormat()); }

}  // namespace orvalet::win32
