// display_format.h
// The texts the meter shows: the amount with two decimals and the elapsed
// time as a duration.
#pragma once

#include <string>

#include "numtext/number_locale.h"

namespace tallaro {

// What follows the amount in the window's caption.
inline constexpr const char *kCaptionSuffix = " - Tallaro";

// Returns the amount as the meter shows it: cents rounded half away from zero
// (judged on the value taken to 15 significant digits), the integer part
// grouped in threes with the locale's group separator and written without a
// leading zero ("0.5" -> ",50" under German conventions), then the locale's
// decimal separator and two decimals. A value that rounds to zero has no
// minus sign. Infinities and NaN, which the meter never holds, come back as
// "inf", "-inf" and "nan".
[[nodiscard]] std::string formatAmount(double amount, const NumberLocale &locale);

// Returns a duration held in days as hours, minutes and seconds, two digits
// at least each, joined by ":" and rounded to the nearest second; hours go on
// past 23 ("100:00:00"). Negative and non-finite values show as "00:00:00".
[[nodiscard]] std::string formatElapsed(double days);

}  // namespace tallaro
