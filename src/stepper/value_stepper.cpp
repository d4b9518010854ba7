#include "stepper/value_stepper.h"

#include "numtext/number_text.h"

namespace tallaro {

std::int16_t checkNumValue(std::optional<std::int16_t> inputValue, std::int16_t defValue,
                           std::int16_t minValue, std::int16_t maxValue, std::int16_t addValue) {
    if (!inputValue) {
        return defValue;
    }
    // Summed in int, so a sum beyond 16 bits is seen, and is outside any 16-bit bound.
    const int value = *inputValue + addValue;
    if (value > maxValue || value < minValue) {
        return defValue;
    }
    return static_cast<std::int16_t>(value);
}

std::string steppedFieldText(std::string_view fieldText, std::int16_t addValue,
                             const NumberLocale &locale) {
    const std::int16_t result =
        checkNumValue(textToInt16(fieldText, locale), kStepDefault, kStepMin, kStepMax, addValue);
    return std::to_string(result);
}

}  // namespace tallaro
