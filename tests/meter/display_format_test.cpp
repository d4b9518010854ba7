#include "meter/display_format.h"
#include "test_locales.h"

#include <gtest/gtest.h>

#include <limits>
#include <string_view>

namespace tallaro {
namespace {

using namespace tallaro::test_locales;

struct AmountCase {
    const NumberLocale *locale;
    double value;
    std::string_view expected;
};

TEST(FormatAmount, WritesCentsWithTheLocalesSeparators) {
    const AmountCase cases[] = {
        {&kGerman, 100.0138889, "100,01"},
        {&kGerman, 150, "150,00"},
        {&kGerman, 1234.5, "1.234,50"},
        {&kGerman, 1234567.891, "1.234.567,89"},
        {&kGerman, 0.5, ",50"},
        {&kGerman, 0, ",00"},
        {&kGerman, -3.5, "-3,50"},
        {&kGerman, 0.07, ",07"},
        {&kGerman, 0.125, ",13"},  // exactly half-way: away from zero
        {&kGerman, -0.125, "-,13"},
        {&kGerman, 999999.999, "1.000.000,00"},  // the carry makes a new group
        {&kGerman, 999.995, "1.000,00"},
        {&kGerman, 100.12499999999997, "100,13"},  // nine ticks of 50 per hour from 100
        {&kGerman, 2.675,
         "2,68"},  // stored as 2.67499999999999982236431605997495353221893310546875
        {&kGerman, 1.005, "1,01"},
        // The cent is judged on the amount's first 15 significant digits. Held
        // a hair below 0.525 after three ticks of 7 persons at 90 an hour from
        // 0: the 15 digits are 0.525000000000000, and so up.
        {&kGerman, 0.5249999999999999, ",53"},
        // Its 15 digits still fall short of half a cent.
        {&kGerman, 0.00499999999999999, ",00"},
        {&kGerman, 0.004, ",00"},
        {&kGerman, -0.004, ",00"},  // rounds to zero: no minus sign
        {&kGerman, -0.0, ",00"},
        {&kGerman, -0.005, "-,01"},
        {&kGerman, 123456, "123.456,00"},
        {&kGerman, 1e15, "1.000.000.000.000.000,00"},
        {&kGerman, 5e-324, ",00"},
        {&kEnglish, 100.0138889, "100.01"},
        {&kEnglish, 1234.5, "1,234.50"},
        {&kEnglish, 0.5, ".50"},
        {&kFrench, 1234567.891, "1\u202F234\u202F567,89"},
        {&kSwiss, 1234.5, "1\u2019234.50"},
        {&kRussian, 1234567.891, "1\u00A0234\u00A0567,89"},
    };
    for (const AmountCase &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(formatAmount(c.value, *c.locale), c.expected);
    }
}

TEST(FormatAmount, WritesEveryDigitOfTheLargestDouble) {
    const std::string text = formatAmount(std::numeric_limits<double>::max(), kEnglish);
    // 309 integer digits in 103 groups, then ".00"
    EXPECT_EQ(text.size(), 309u + 102u + 3u);
    EXPECT_EQ(text.substr(0, 8), "179,769,");
    EXPECT_EQ(text.substr(text.size() - 3), ".00");
}

TEST(FormatAmount, NamesValuesThatAreNoAmount) {
    EXPECT_EQ(formatAmount(std::numeric_limits<double>::infinity(), kGerman), "inf");
    EXPECT_EQ(formatAmount(-std::numeric_limits<double>::infinity(), kGerman), "-inf");
    EXPECT_EQ(formatAmount(std::numeric_limits<double>::quiet_NaN(), kGerman), "nan");
}

struct ElapsedCase {
    double days;
    std::string_view expected;
};

TEST(FormatElapsed, WritesADurationRoundedToTheSecond) {
    constexpr double kSecond = 1.0 / 86400.0;
    const ElapsedCase cases[] = {
        {0, "00:00:00"},
        {kSecond, "00:00:01"},
        {3723 * kSecond, "01:02:03"},
        {3600 * kSecond - 1e-12, "01:00:00"},  // a hair below the hour still shows the hour
        {0.4 * kSecond, "00:00:00"},
        {0.5 * kSecond, "00:00:01"},
        {59.6 * kSecond, "00:01:00"},
        {1.0, "24:00:00"},
        {86399 * kSecond, "23:59:59"},
        {100.0 / 24.0, "100:00:00"},
        {30.0, "720:00:00"},
        {-kSecond, "00:00:00"},
        {std::numeric_limits<double>::quiet_NaN(), "00:00:00"},
        {std::numeric_limits<double>::infinity(), "00:00:00"},
        {1e20, "277777777777:46:40"},  // held at 10^15 seconds
    };
    for (const ElapsedCase &c : cases) {
        SCOPED_TRACE(c.days);
        EXPECT_EQ(formatElapsed(c.days), c.expected);
    }
}

}  // namespace
}  // namespace tallaro
