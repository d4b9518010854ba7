// win32_locale.h
// The user's number conventions as Windows keeps them: the decimal and the
// group separator the user has set, as UTF-8.
#pragma once

#include "numtext/number_locale.h"

[[nodiscard]] tallaro::NumberLocale userNumberLocale();
