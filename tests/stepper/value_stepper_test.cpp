#include "stepper/value_stepper.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "test_locales.h"

namespace tallaro {
namespace {

using namespace tallaro::test_locales;

struct RuleCase {
    std::optional<std::int16_t> input;
    std::int16_t def, min, max, add;
    std::int16_t expected;
};

TEST(CheckNumValue, StepsWithinBoundsAndFallsBackOutsideThem) {
    const RuleCase cases[] = {
        {50, 1, 1, 999, +1, 51},
        {50, 1, 1, 999, -1, 49},
        {998, 1, 1, 999, +1, 999},  // a sum on either bound is a result
        {2, 1, 1, 999, -1, 1},
        {999, 1, 1, 999, +1, 1},  // past the end: the default, not the bound
        {1, 1, 1, 999, -1, 1},
        {0, 7, 1, 999, -1, 7},
        {std::nullopt, 7, 1, 999, +1, 7},
        {-5, 0, -10, 10, -5, -10},
        // Sums beyond 16 bits count as outside, however wide the bounds.
        {32767, 3, -32768, 32767, +1, 3},
        {-32768, 3, -32768, 32767, -1, 3},
        {32766, 3, -32768, 32767, +1, 32767},
        {-32767, 3, -32768, 32767, -1, -32768},
    };
    for (const RuleCase &c : cases) {
        SCOPED_TRACE(c.input ? *c.input : -99999);
        EXPECT_EQ(checkNumValue(c.input, c.def, c.min, c.max, c.add), c.expected);
    }
}

struct FieldCase {
    const NumberLocale *locale;
    std::string_view text;
    std::string_view plus;
    std::string_view minus;
};

TEST(SteppedFieldText, WritesTheSteppedValueAsPlainDigits) {
    const FieldCase cases[] = {
        {&kGerman, "1", "2", "1"},       {&kGerman, "50", "51", "49"},
        {&kGerman, "999", "1", "998"},   {&kGerman, "1000", "1", "999"},
        {&kGerman, "1.000", "1", "999"},  // grouped, read as 1000
        {&kGerman, "0", "1", "1"},       {&kGerman, "-5", "1", "1"},
        {&kGerman, "2,5", "3", "1"},     {&kGerman, "3,5", "5", "3"},
        {&kGerman, " 7 ", "8", "6"},     {&kGerman, "", "1", "1"},
        {&kGerman, "abc", "1", "1"},     {&kGerman, "40000", "1", "1"},
        {&kGerman, "-40000", "1", "1"},  {&kGerman, "1e400", "1", "1"},
        {&kEnglish, "2.5", "3", "1"},    {&kEnglish, "3.5", "5", "3"},
        {&kEnglish, "2,5", "26", "24"},  // the comma groups digits in English
        {&kFrench, "1 000", "1", "999"},
    };
    for (const FieldCase &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(steppedFieldText(c.text, +1, *c.locale), c.plus);
        EXPECT_EQ(steppedFieldText(c.text, -1, *c.locale), c.minus);
    }
}

}  // namespace
}  // namespace tallaro
