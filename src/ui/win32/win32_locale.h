// win32_locale.h
// The user's number conventions as Windows keeps them: the decimal and the
// group separator the user has set, as UTF-8.
#pragma once

#include <windows.h>

#include "numtext/number_locale.h"

// Reads a setting of a locale, as GetLocaleInfoW does; a test hands in its own.
using LocaleInfoReader = int(WINAPI *)(LCID locale, LCTYPE type, LPWSTR buffer, int size);

// Returns the separators of the user's own settings (not the system's, nor
// the locale's defaults where the user changed them).
[[nodiscard]] tallaro::NumberLocale userNumberLocale(LocaleInfoReader read = GetLocaleInfoW);
