// value_stepper.h
// The "+" and "-" buttons' rule: step a field's value by one within bounds,
// falling back to a default outside them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "numtext/number_locale.h"

namespace tallaro {

// Returns inputValue + addValue when that lies within minValue..maxValue (both
// bounds included), otherwise defValue; defValue too when inputValue is not a
// number (nullopt) or the sum does not fit in 16 bits.
[[nodiscard]] std::int16_t checkNumValue(std::optional<std::int16_t> inputValue,
                                         std::int16_t defValue, std::int16_t minValue,
                                         std::int16_t maxValue, std::int16_t addValue);

// The bounds of the persons and the salary field.
inline constexpr std::int16_t kStepDefault = 1;
inline constexpr std::int16_t kStepMin = 1;
inline constexpr std::int16_t kStepMax = 999;

// Returns the text a step button writes back into its field: the field's text
// rounded to a 16-bit integer under the locale (halves to even), stepped by
// addValue within 1..999 with 1 as the fallback, in plain decimal digits.
[[nodiscard]] std::string steppedFieldText(std::string_view fieldText, std::int16_t addValue,
                                           const NumberLocale &locale);

}  // namespace tallaro
