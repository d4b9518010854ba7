// qt_locale.h
// Hands the user's number conventions from Qt to the core as plain values.
#pragma once

#include "numtext/number_locale.h"

class QLocale;

namespace tallaro::ui {

// Returns the decimal and digit-group separators of a Qt locale as UTF-8.
[[nodiscard]] NumberLocale numberLocaleOf(const QLocale &locale);

}  // namespace tallaro::ui
