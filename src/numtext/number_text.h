// number_text.h
// Locale-aware conversions from a field's free text to a number.
//
// Both conversions accept one grammar, with the separators of the locale:
//
//   text     := blank* sign? mantissa exponent? blank*
//   blank    := ' ' | '\t'
//   sign     := '+' | '-'
//   mantissa := digit (group digit | digit)* (decimal digit*)?
//             | decimal digit+
//   exponent := ('e' | 'E') sign? digit+
//
// so there is at least one digit, a group separator stands only between two
// digits of the integer part, and nothing else may follow. Where the locale's
// group separator is a kind of space, an ordinary space is accepted in its
// place; where it is a typographic apostrophe (U+2019), so is "'".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "numtext/number_locale.h"

namespace tallaro {

// Returns the number the text stands for, or nothing when the text is not a
// number or its value lies outside the range of a double. A value too small
// for a double becomes zero of the same sign.
[[nodiscard]] std::optional<double> textToDouble(std::string_view text, const NumberLocale &locale);

// Returns the text's number rounded to an integer, halves to the even
// neighbour ("2,5" -> 2, "3,5" -> 4), or nothing when the text is not a
// number or the rounded value lies outside -32768..32767.
[[nodiscard]] std::optional<std::int16_t> textToInt16(std::string_view text,
                                                      const NumberLocale &locale);

// Returns the integer rounded half to even, for finite values.
[[nodiscard]] double roundHalfEven(double value);

}  // namespace tallaro
