// fuzz_common.h
// What the fuzz targets share: the locales they try, chosen by an input byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "numtext/number_locale.h"

namespace tallaro::fuzz {

inline const std::array<NumberLocale, 4> kLocales = {{
    {",", "."},
    {".", ","},
    {",", "\u202F"},
    {".", "\u2019"},
}};

inline const NumberLocale &localeOf(std::uint8_t selector) {
    return kLocales[selector % kLocales.size()];
}

// Stops the run: libFuzzer reports the input that got here.
[[noreturn]] inline void violated() {
    __builtin_trap();
}

}  // namespace tallaro::fuzz
