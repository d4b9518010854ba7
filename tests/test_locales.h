// test_locales.h
// The number conventions the tests run under, as the window layer hands them in.
#pragma once

#include "numtext/number_locale.h"

namespace tallaro::test_locales {

inline const NumberLocale kGerman{",", "."};
inline const NumberLocale kEnglish{".", ","};
inline const NumberLocale kFrench{",", "\u202F"};  // narrow no-break space
inline const NumberLocale kSwiss{".", "\u2019"};   // typographic apostrophe
inline const NumberLocale kSwissPlain{".", "'"};   // as Qt 6.11's data names it
// Russian, Polish, Czech, Swedish, Norwegian, Finnish and more group with the
// no-break space.
inline const NumberLocale kRussian{",", "\u00A0"};
// Separators a user can set (on Windows, say): the thin and the figure space.
inline const NumberLocale kThinSpace{",", "\u2009"};
inline const NumberLocale kFigureSpace{",", "\u2007"};

}  // namespace tallaro::test_locales
