#include "numtext/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tallaro {
namespace {

constexpr std::array<std::string_view, 5> kSpaceSeparators = {" ", "\u00A0", "\u2007", "\u2009",
                                                              "\u202F"};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isSpaceLike(std::string_view separator) {
    for (std::string_view space : kSpaceSeparators) {
        if (separator == space) {
            return true;
        }
    }
    return false;
}

// Reads a text front to back; each accept call consumes on success only.
class Scanner {
public:
    explicit Scanner(std::string_view text) : m_rest(text) {}

    bool atEnd() const { return m_rest.empty(); }
    bool peekDigit(std::size_t offset = 0) const {
        return m_rest.size() > offset && isDigit(m_rest[offset]);
    }
    // Appends the run of digits that starts here.
    void takeDigits(std::string &into) {
        while (peekDigit()) {
            into += m_rest.front();
            m_rest.remove_prefix(1);
        }
    }
    // Consumes a sign; true for a minus.
    bool acceptSign() {
        if (accept('-')) {
            return true;
        }
        accept('+');
        return false;
    }
    bool accept(char c) {
        if (m_rest.empty() || m_rest.front() != c) {
            return false;
        }
        m_rest.remove_prefix(1);
        return true;
    }
    bool accept(std::string_view token) {
        if (token.empty() || !m_rest.starts_with(token)) {
            return false;
        }
        m_rest.remove_prefix(token.size());
        return true;
    }
    // Consumes the token only when a digit follows it.
    bool acceptBeforeDigit(std::string_view token) {
        if (token.empty() || !m_rest.starts_with(token) || !peekDigit(token.size())) {
            return false;
        }
        m_rest.remove_prefix(token.size());
        return true;
    }
    void skipBlanks() {
        while (!m_rest.empty() && isBlank(m_rest.front())) {
            m_rest.remove_prefix(1);
        }
    }

private:
    std::string_view m_rest;
};

bool acceptGroup(Scanner &scanner, const NumberLocale &locale) {
    const std::string_view group = locale.groupSeparator;
    if (scanner.acceptBeforeDigit(group)) {
        return true;
    }
    if (isSpaceLike(group)) {
        return scanner.acceptBeforeDigit(" ");
    }
    // Swiss German groups with an apostrophe, typographic or plain as the
    // locale data's release has it: a user types either.
    if (group == "\u2019") {
        return scanner.acceptBeforeDigit("'");
    }
    if (group == "'") {
        return scanner.acceptBeforeDigit("\u2019");
    }
    return false;
}

// The parts of a number in text, as plain ASCII digits.
struct Parsed {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    bool exponentNegative = false;
    std::string exponentDigits;
};

std::optional<Parsed> parse(std::string_view text, const NumberLocale &locale) {
    Scanner scanner(text);
    Parsed parsed;
    scanner.skipBlanks();
    parsed.negative = scanner.acceptSign();
    while (scanner.peekDigit()) {
        scanner.takeDigits(parsed.integerDigits);
        acceptGroup(scanner, locale);
    }
    if (scanner.accept(std::string_view(locale.decimalSeparator))) {
        scanner.takeDigits(parsed.fractionDigits);
    }
    if (parsed.integerDigits.empty() && parsed.fractionDigits.empty()) {
        return std::nullopt;
    }
    if (scanner.accept('e') || scanner.accept('E')) {
        parsed.exponentNegative = scanner.acceptSign();
        scanner.takeDigits(parsed.exponentDigits);
        if (parsed.exponentDigits.empty()) {
            return std::nullopt;
        }
    }
    scanner.skipBlanks();
    if (!scanner.atEnd()) {
        return std::nullopt;
    }
    return parsed;
}

// The exponent as a number, held within a bound far beyond any double's.
long long saturatedExponent(const Parsed &parsed) {
    constexpr long long kBound = 1'000'000'000;
    long long exponent = 0;
    for (char digit : parsed.exponentDigits) {
        exponent = std::min(kBound, exponent * 10 + (digit - '0'));
    }
    return parsed.exponentNegative ? -exponent : exponent;
}

// The power of ten of the leading non-zero digit; only asked of non-zero values.
long long decimalOrder(const Parsed &parsed) {
    const std::string digits = parsed.integerDigits + parsed.fractionDigits;
    const auto leading = static_cast<long long>(digits.find_first_not_of('0'));
    const auto integerCount = static_cast<long long>(parsed.integerDigits.size());
    return integerCount - 1 - leading + saturatedExponent(parsed);
}

}  // namespace

std::optional<double> textToDouble(std::string_view text, const NumberLocale &locale) {
    const std::optional<Parsed> parsed = parse(text, locale);
    if (!parsed) {
        return std::nullopt;
    }
    const double zero = parsed->negative ? -0.0 : 0.0;
    if ((parsed->integerDigits + parsed->fractionDigits).find_first_not_of('0') ==
        std::string::npos) {
        return zero;
    }
    std::string plain;
    plain.reserve(parsed->integerDigits.size() + parsed->fractionDigits.size() +
                  parsed->exponentDigits.size() + 4);
    if (parsed->negative) {
        plain += '-';
    }
    plain += parsed->integerDigits.empty() ? "0" : parsed->integerDigits;
    if (!parsed->fractionDigits.empty()) {
        plain += '.';
        plain += parsed->fractionDigits;
    }
    if (!parsed->exponentDigits.empty()) {
        plain += parsed->exponentNegative ? "e-" : "e";
        plain += parsed->exponentDigits;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large is no number; too small is as good as zero.
        return decimalOrder(*parsed) > 0 ? std::nullopt : std::optional<double>(zero);
    }
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

double roundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5) {
        return below + 1.0;
    }
    if (fraction < 0.5) {
        return below;
    }
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::optional<std::int16_t> textToInt16(std::string_view text, const NumberLocale &locale) {
    const std::optional<double> value = textToDouble(text, locale);
    if (!value) {
        return std::nullopt;
    }
    const double rounded = roundHalfEven(*value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

}  // namespace tallaro
