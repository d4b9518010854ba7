// Any text under any locale: the double conversion gives a finite number or
// none, and the 16-bit conversion agrees with it rounded half to even
// wherever that lies in range.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "fuzz_common.h"
#include "numtext/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tallaro;
    if (size == 0) {
        return 0;
    }
    const NumberLocale &locale = fuzz::localeOf(data[0]);
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);
    const std::optional<double> value = textToDouble(text, locale);
    const std::optional<std::int16_t> integer = textToInt16(text, locale);
    if (value && !std::isfinite(*value)) {
        fuzz::violated();
    }
    if (!value) {
        if (integer) {
            fuzz::violated();
        }
        return 0;
    }
    const double rounded = roundHalfEven(*value);
    const bool inRange = rounded >= -32768.0 && rounded <= 32767.0;
    if (inRange != integer.has_value() || (integer && *integer != rounded)) {
        fuzz::violated();
    }
    return 0;
}
