#include "meter/display_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <system_error>

namespace tallaro {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kDecimals = 2;
constexpr double kSecondsPerDay = 86400.0;

// The magnitude as decimal digits, rounded half away from zero to cents:
// "digits" holds the integer part followed by exactly two decimals.
std::string centDigits(double magnitude) {
    // d.dddddddddddddde±x: the value taken to 15 significant digits
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                            std::chars_format::scientific, kSignificantDigits - 1);
    if (error != std::errc()) {
        return "000";
    }
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t exponentAt = text.find('e');
    std::string mantissa;
    for (char c : text.substr(0, exponentAt)) {
        if (c != '.') {
            mantissa += c;
        }
    }
    int exponent = 0;
    const std::string_view exponentText = text.substr(exponentAt + 1);
    const char *exponentBegin = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
    std::from_chars(exponentBegin, exponentText.data() + exponentText.size(), exponent);

    // Place the mantissa digits so that the decimal point falls after
    // exponent + 1 of them, padding with zeros on either side.
    const int integerCount = exponent + 1;
    std::string digits;
    if (integerCount <= 0) {
        digits.assign(static_cast<std::size_t>(1 - integerCount), '0');
        digits += mantissa;
    } else {
        digits = mantissa;
        if (static_cast<int>(digits.size()) < integerCount + kDecimals + 1) {
            digits.resize(static_cast<std::size_t>(integerCount + kDecimals + 1), '0');
        }
    }
    const std::size_t pointAt = static_cast<std::size_t>(std::max(integerCount, 1));
    const std::size_t keep = pointAt + kDecimals;
    if (digits.size() < keep + 1) {
        digits.resize(keep + 1, '0');
    }
    const bool roundUp = digits[keep] >= '5';
    digits.resize(keep);
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[i - 1];
        }
    }
    return digits;
}

}  // namespace

std::string formatAmount(double amount, const NumberLocale &locale) {
    if (!std::isfinite(amount)) {
        return std::isnan(amount) ? "nan" : (amount < 0 ? "-inf" : "inf");
    }
    const std::string digits = centDigits(std::fabs(amount));
    const std::string_view integerPart =
        std::string_view(digits).substr(0, digits.size() - kDecimals);
    const std::string_view decimals = std::string_view(digits).substr(digits.size() - kDecimals);
    const std::size_t firstNonZero = integerPart.find_first_not_of('0');
    const std::string_view significant = firstNonZero == std::string_view::npos
                                             ? std::string_view()
                                             : integerPart.substr(firstNonZero);

    std::string text;
    const bool isZero = significant.empty() && decimals == "00";
    if (std::signbit(amount) && !isZero) {
        text += '-';
    }
    for (std::size_t i = 0; i < significant.size(); ++i) {
        if (i > 0 && (significant.size() - i) % 3 == 0) {
            text += locale.groupSeparator;
        }
        text += significant[i];
    }
    text += locale.decimalSeparator;
    text += decimals;
    return text;
}

std::string formatElapsed(double days) {
    const double seconds = days * kSecondsPerDay;
    // Beyond this the hours no longer fit a display, nor an integer.
    constexpr double kLargest = 1e15;
    const std::int64_t total =
        std::isfinite(seconds) && seconds > 0 ? std::llround(std::min(seconds, kLargest)) : 0;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld",
                  static_cast<long long>(total / 3600), static_cast<long long>(total / 60 % 60),
                  static_cast<long long>(total % 60));
    return buffer;
}

}  // namespace tallaro
