// Any double under any locale: the amount's text reads back as the amount
// rounded to cents, with no minus sign on a zero; the elapsed time is always
// hours, minutes and seconds.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_common.h"
#include "meter/display_format.h"
#include "numtext/number_text.h"

namespace {

bool isDuration(const std::string &text) {
    const std::size_t firstColon = text.find(':');
    if (firstColon == std::string::npos || firstColon < 2 || text.size() != firstColon + 6 ||
        text[firstColon + 3] != ':') {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool colon = i == firstColon || i == firstColon + 3;
        if (colon != (text[i] == ':') || (!colon && (text[i] < '0' || text[i] > '9'))) {
            return false;
        }
    }
    return text[firstColon + 1] <= '5' && text[firstColon + 4] <= '5';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tallaro;
    if (size < 1 + sizeof(double)) {
        return 0;
    }
    const NumberLocale &locale = fuzz::localeOf(data[0]);
    double value = 0;
    std::memcpy(&value, data + 1, sizeof value);

    if (!isDuration(formatElapsed(value))) {
        fuzz::violated();
    }
    const std::string text = formatAmount(value, locale);
    if (!std::isfinite(value)) {
        return 0;
    }
    const std::optional<double> back = textToDouble(text, locale);
    if (!back) {
        // Taken to 15 digits, the very largest doubles round past the range.
        if (std::fabs(value) < 1.797693134862315e308) {
            fuzz::violated();
        }
        return 0;
    }
    // Cents, and beyond 15 significant digits what the value held was not kept.
    const double tolerance = 0.005 + std::fabs(value) * 1e-14;
    if (std::fabs(*back - value) > tolerance) {
        fuzz::violated();
    }
    if (*back == 0.0 && text.front() == '-') {
        fuzz::violated();
    }
    return 0;
}
