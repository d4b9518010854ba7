#include "ui/win32/win32_locale.h"

#include <windows.h>

#include <string>

#include "ui/win32/win32_text.h"

namespace {

// The user's setting, at most the 4 characters Windows allows (and room).
std::string localeInfo(LocaleInfoReader read, LCTYPE type) {
    wchar_t buffer[16] = {};
    const int length = read(LOCALE_USER_DEFAULT, type, buffer, 16);
    return toUtf8(std::wstring_view(buffer, length > 1 ? static_cast<std::size_t>(length - 1) : 0));
}

}  // namespace

tallaro::NumberLocale userNumberLocale(LocaleInfoReader read) {
    return {localeInfo(read, LOCALE_SDECIMAL), localeInfo(read, LOCALE_STHOUSAND)};
}
