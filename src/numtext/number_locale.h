// number_locale.h
// The user's number conventions, handed to the core as plain values so that
// nothing in the core reads a global locale.
#pragma once

#include <string>

namespace tallaro {

// The separators of the user's locale, as UTF-8 text. They are strings, not
// characters: French groups digits with U+202F, Swiss German with U+2019.
struct NumberLocale {
    std::string decimalSeparator;
    std::string groupSeparator;
};

}  // namespace tallaro
