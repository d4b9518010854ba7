#include "numtext/number_text.h"
#include "test_locales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

namespace tallaro {
namespace {

using namespace tallaro::test_locales;

struct DoubleCase {
    const NumberLocale *locale;
    std::string_view text;
    std::optional<double> expected;
};

TEST(TextToDouble, FollowsTheGrammarUnderEachLocale) {
    const DoubleCase cases[] = {
        {&kGerman, "100", 100.0},
        {&kGerman, "99,5", 99.5},
        {&kGerman, "  -3 ", -3.0},
        {&kGerman, "\t+7\t", 7.0},
        {&kGerman, "1.234,5", 1234.5},
        {&kGerman, "1.2.3", 123.0},  // groups need not be three digits long
        {&kGerman, ",5", 0.5},
        {&kGerman, "5,", 5.0},
        {&kGerman, "1,5e3", 1500.0},
        {&kGerman, "2E-2", 0.02},
        {&kGerman, "1.5", 15.0},  // the dot groups digits under German conventions
        {&kGerman, "1e+2", 100.0},
        {&kEnglish, "99.5", 99.5},
        {&kEnglish, "1,234.5", 1234.5},
        {&kEnglish, "99,5", 995.0},
        {&kFrench, "1\u202F234,5", 1234.5},
        {&kFrench, "1 234,5", 1234.5},  // a typed space stands for the narrow one
        {&kRussian, "1\u00A0234,5", 1234.5},
        {&kRussian, "1 234\u00A0567", 1234567.0},  // and for the no-break one
        {&kThinSpace, "1\u2009234,5", 1234.5},
        {&kThinSpace, "1 234\u2009567", 1234567.0},
        {&kFigureSpace, "1\u2007234,5", 1234.5},
        {&kFigureSpace, "12 345", 12345.0},
        {&kSwiss, "1\u2019234.5", 1234.5},
        {&kSwiss, "1'234.5", 1234.5},
        {&kSwissPlain, "1'234.5", 1234.5},
        {&kSwissPlain, "1\u2019234.5", 1234.5},
        // Not numbers.
        {&kGerman, "", std::nullopt},
        {&kGerman, "   ", std::nullopt},
        {&kGerman, "abc", std::nullopt},
        {&kGerman, "-", std::nullopt},
        {&kGerman, ",", std::nullopt},
        {&kGerman, "12a", std::nullopt},
        {&kGerman, "1 2", std::nullopt},  // a space groups only where the locale groups with one
        {&kGerman, ".5", std::nullopt},   // a group separator needs digits on both sides
        {&kGerman, "5.", std::nullopt},
        {&kGerman, "1..2", std::nullopt},
        {&kGerman, "1,2,3", std::nullopt},
        {&kGerman, "1,2.3", std::nullopt},  // no grouping after the decimal separator
        {&kGerman, "1e", std::nullopt},
        {&kGerman, "1e+", std::nullopt},
        {&kGerman, "e5", std::nullopt},
        {&kGerman, "--1", std::nullopt},
        {&kGerman, "+-1", std::nullopt},
        {&kGerman, "- 1", std::nullopt},
        {&kGerman, "inf", std::nullopt},
        {&kGerman, "nan", std::nullopt},
        {&kGerman, "0x10", std::nullopt},
        {&kGerman, "1e400", std::nullopt},  // beyond the double range
        {&kGerman, "-1e400", std::nullopt},
        {&kGerman, "1e99999999999999999999", std::nullopt},
        {&kEnglish, "1\u202F234", std::nullopt},
        {&kFrench, "1.5", std::nullopt},
        {&kRussian, "1\u202F234", std::nullopt},  // the narrow space is another separator
        {&kThinSpace, "1\u2007234", std::nullopt},
        {&kFigureSpace, "1\u2009234", std::nullopt},
        {&kThinSpace, "1.234", std::nullopt},
        // A space groups digits: before a separator or an exponent it is none.
        {&kFrench, "12 ,5", std::nullopt},
        {&kFrench, "12\u202F,5", std::nullopt},
        {&kRussian, "12\u00A0,5", std::nullopt},
        {&kThinSpace, "12\u2009,5", std::nullopt},
        {&kFigureSpace, "12 ,5", std::nullopt},
        {&kFrench, "1,5 e3", std::nullopt},
        {&kRussian, "15\u00A0e3", std::nullopt},
        {&kThinSpace, "1,5\u2009E3", std::nullopt},
        {&kFrench, "1,5e 3", std::nullopt},
        {&kFrench, "1 ,5e3", std::nullopt},
    };
    for (const DoubleCase &c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> value = textToDouble(c.text, *c.locale);
        ASSERT_EQ(value.has_value(), c.expected.has_value());
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *c.expected);
        }
    }
}

TEST(TextToDouble, ValuesTooSmallForADoubleBecomeZeroOfTheirSign) {
    const std::optional<double> tiny = textToDouble("1e-400", kGerman);
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(*tiny, 0.0);
    EXPECT_FALSE(std::signbit(*tiny));
    const std::optional<double> negative = textToDouble("-0,0001e-99999999999", kGerman);
    ASSERT_TRUE(negative.has_value());
    EXPECT_TRUE(std::signbit(*negative));
}

TEST(TextToDouble, KeepsTheLargestDoubleAndLongDigitRuns) {
    EXPECT_EQ(textToDouble("1,7976931348623157e308", kGerman), std::numeric_limits<double>::max());
    const std::string longRun(5000, '9');
    const std::optional<double> huge = textToDouble(longRun, kGerman);
    EXPECT_FALSE(huge.has_value());
    EXPECT_EQ(textToDouble("0," + longRun, kGerman), 1.0);
}

struct Int16Case {
    const NumberLocale *locale;
    std::string_view text;
    std::optional<int> expected;
};

TEST(TextToInt16, RoundsHalvesToEvenWithinSixteenBits) {
    const Int16Case cases[] = {
        {&kGerman, "50", 50},
        {&kGerman, "2,5", 2},
        {&kGerman, "3,5", 4},
        {&kGerman, "-2,5", -2},
        {&kGerman, "-3,5", -4},
        {&kGerman, "2,4999", 2},
        {&kGerman, "2,5001", 3},
        {&kEnglish, "2.5", 2},
        {&kGerman, "32767", 32767},
        {&kGerman, "32767,4", 32767},
        {&kGerman, "32767,5", std::nullopt},  // rounds to 32768
        {&kGerman, "-32768", -32768},
        {&kGerman, "-32768,5", -32768},  // rounds to the even -32768
        {&kGerman, "-32769", std::nullopt},
        {&kGerman, "40000", std::nullopt},
        {&kGerman, "1e4", 10000},
        {&kGerman, "1.000", 1000},
        {&kGerman, "abc", std::nullopt},
        {&kGerman, "", std::nullopt},
    };
    for (const Int16Case &c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<std::int16_t> value = textToInt16(c.text, *c.locale);
        ASSERT_EQ(value.has_value(), c.expected.has_value());
        if (value) {
            EXPECT_EQ(*value, *c.expected);
        }
    }
}

}  // namespace
}  // namespace tallaro
