#include "meter/meter_model.h"
#include "test_locales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace tallaro {
namespace {

using namespace tallaro::test_locales;

using Outcome = MeterModel::StartOutcome;

// The design-time field texts.
constexpr MeterFields kDesign{"1", "50", "100"};

MeterModel startedMeter(const MeterFields &fields, const NumberLocale &locale = kGerman) {
    MeterModel meter(locale);
    EXPECT_EQ(meter.start(fields), Outcome::Started);
    return meter;
}

MeterDisplay tickTimes(MeterModel &meter, const MeterFields &fields, int ticks) {
    MeterDisplay display;
    for (int i = 0; i < ticks; ++i) {
        display = meter.tick(fields);
    }
    return display;
}

TEST(MeterModel, FirstTickShowsBasePlusOneSecond) {
    MeterModel meter = startedMeter(kDesign);
    const MeterDisplay display = meter.tick(kDesign);
    EXPECT_DOUBLE_EQ(meter.totalCost(), 50.0 * 1.0 / 3600.0 + 100.0);
    EXPECT_EQ(display.amount, "100,01");
    EXPECT_EQ(display.caption, "100,01 - Tallaro");
    EXPECT_EQ(display.time, "00:00:01");
}

TEST(MeterModel, AnHourOfTicksAddsAnHourOfSalary) {
    MeterModel meter = startedMeter(kDesign);
    const MeterDisplay display = tickTimes(meter, kDesign, 3600);
    EXPECT_NEAR(meter.totalCost(), 150.0, 1e-9);
    EXPECT_EQ(display.amount, "150,00");
    EXPECT_EQ(display.caption, "150,00 - Tallaro");
    EXPECT_EQ(display.time, "01:00:00");
}

TEST(MeterModel, NinthTickRoundsTheHalfCentUp) {
    MeterModel meter = startedMeter(kDesign);
    EXPECT_EQ(tickTimes(meter, kDesign, 9).amount, "100,13");
}

TEST(MeterModel, TickFollowsTheArithmeticInItsOrder) {
    MeterModel meter = startedMeter({"3", "77,7", "12,34"});
    double expected = 12.34;
    for (int i = 0; i < 100; ++i) {
        meter.tick({"3", "77,7", "12,34"});
        expected = (77.7 * 3.0) / (3'600'000.0 / 1000.0) + expected;
    }
    EXPECT_EQ(meter.totalCost(), expected);  // the same operations give the same bits
}

// Each second adds persons x salary / 3600, in that order: for these
// figures every other order of the same operations shows another cent a
// minute in (4,31, 6,48 and 9,14).
TEST(MeterModel, AMinuteShowsTheCentOfTheTicksOwnOrder) {
    const struct Row {
        MeterFields fields;
        const char *amount;
    } rows[] = {
        {{"3", "86,10", "0"}, "4,30"},
        {{"6", "64,75", "0"}, "6,47"},
        {{"3", "182,7", "0"}, "9,13"},
    };
    for (const Row &row : rows) {
        MeterModel meter = startedMeter(row.fields);
        EXPECT_EQ(tickTimes(meter, row.fields, 60).amount, row.amount)
            << row.fields.persons << " x " << row.fields.salary;
    }
}

TEST(MeterModel, ReadsFieldsUnderTheLocaleItWasGiven) {
    MeterModel meter = startedMeter({"2", "1.800", "1.000,5"}, kGerman);
    meter.tick({"2", "1.800", "1.000,5"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 1001.5);

    MeterModel english = startedMeter({"2", "1,800", "1,000.5"}, kEnglish);
    EXPECT_EQ(english.tick({"2", "1,800", "1,000.5"}).amount, "1,001.50");
}

TEST(MeterModel, ChangedPersonsCountFromTheNextTick) {
    MeterModel meter = startedMeter({"1", "36", "0"});
    meter.tick({"1", "36", "0"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 0.01);
    meter.tick({"2", "36", "0"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 0.03);
}

TEST(MeterModel, BaseCostIsTakenOnceEvenWhenTheAmountReturnsToZero) {
    MeterModel meter = startedMeter({"-1", "3600", "2"});
    meter.tick({"-1", "3600", "2"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 1.0);
    meter.tick({"-1", "3600", "2"});
    EXPECT_EQ(meter.totalCost(), 0.0);
    meter.tick({"-1", "3600", "2"});  // the amount was 0.0: the base is not read again
    EXPECT_DOUBLE_EQ(meter.totalCost(), -1.0);
}

TEST(MeterModel, ZeroBaseAndZeroRateKeepTheAmountAtZero) {
    MeterModel meter = startedMeter({"0", "50", "0"});
    const MeterDisplay display = tickTimes(meter, {"0", "50", "0"}, 3);
    EXPECT_EQ(display.amount, ",00");
    EXPECT_EQ(display.time, "00:00:03");
}

TEST(MeterModel, NegativePersonsMakeTheAmountFall) {
    MeterModel meter = startedMeter({"-3", "1200", "10"});
    EXPECT_EQ(meter.tick({"-3", "1200", "10"}).amount, "9,00");
}

TEST(MeterModel, StopAndStartResumeWithoutAddingTheBaseAgain) {
    MeterModel meter = startedMeter(kDesign);
    tickTimes(meter, kDesign, 2);
    meter.stop();
    EXPECT_EQ(meter.state(), MeterModel::State::Stopped);
    EXPECT_FALSE(meter.baseCostEditable());
    EXPECT_EQ(meter.start({"1", "50", "500"}), Outcome::Started);
    const MeterDisplay display = meter.tick({"1", "50", "500"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 100.0 + 3 * 50.0 / 3600.0);
    EXPECT_EQ(display.time, "00:00:03");
}

TEST(MeterModel, StartWhileRunningLeavesTheTimerAlone) {
    MeterModel meter = startedMeter(kDesign);
    EXPECT_EQ(meter.start(kDesign), Outcome::AlreadyRunning);
    EXPECT_EQ(meter.state(), MeterModel::State::Running);
}

TEST(MeterModel, StopBeforeStartChangesNothing) {
    MeterModel meter(kGerman);
    meter.stop();
    EXPECT_EQ(meter.state(), MeterModel::State::Ready);
    EXPECT_TRUE(meter.baseCostEditable());
}

struct RefusedStart {
    MeterFields fields;
    FieldMarks marks;
};

TEST(MeterModel, StartRefusesFieldsWithoutANumberAndMarksThem) {
    const RefusedStart cases[] = {
        {{"abc", "50", "100"}, {true, false, false}},
        {{"1", "", "100"}, {false, true, false}},
        {{"1", "50", "1oo"}, {false, false, true}},
        {{"x", "y", "z"}, {true, true, true}},
    };
    for (const RefusedStart &c : cases) {
        SCOPED_TRACE(std::string(c.fields.persons) + "|" + std::string(c.fields.salary) + "|" +
                     std::string(c.fields.baseCost));
        MeterModel meter(kGerman);
        EXPECT_EQ(meter.start(c.fields), Outcome::Refused);
        EXPECT_EQ(meter.marks(), c.marks);
        EXPECT_EQ(meter.state(), MeterModel::State::Ready);
        EXPECT_TRUE(meter.baseCostEditable());
        EXPECT_EQ(meter.totalCost(), 0.0);
        EXPECT_EQ(meter.elapsedTime(), 0.0);

        EXPECT_EQ(meter.start(kDesign), Outcome::Started);  // mended: the marks go
        EXPECT_EQ(meter.marks(), FieldMarks{});
    }
}

TEST(MeterModel, BaseCostIsNotCheckedOnceTaken) {
    MeterModel meter = startedMeter(kDesign);
    meter.tick(kDesign);
    meter.stop();
    EXPECT_EQ(meter.start({"1", "50", "not read"}), Outcome::Started);
    EXPECT_EQ(meter.marks(), FieldMarks{});
}

TEST(MeterModel, RefusedStartWhileStoppedKeepsItStopped) {
    MeterModel meter = startedMeter(kDesign);
    meter.tick(kDesign);
    meter.stop();
    EXPECT_EQ(meter.start({"", "50", "100"}), Outcome::Refused);
    EXPECT_EQ(meter.state(), MeterModel::State::Stopped);
    EXPECT_TRUE(meter.marks().persons);
}

TEST(MeterModel, FieldWithoutANumberKeepsItsLastValueAndIsMarkedUntilMended) {
    MeterModel meter = startedMeter({"2", "36", "0"});
    meter.tick({"2", "36", "0"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 0.02);

    meter.tick({"", "36", "0"});  // half-way through typing
    EXPECT_DOUBLE_EQ(meter.totalCost(), 0.04);
    EXPECT_EQ(meter.marks(), (FieldMarks{true, false, false}));

    meter.tick({"", "3x", "0"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 0.06);
    EXPECT_EQ(meter.marks(), (FieldMarks{true, true, false}));

    meter.tick({"4", "3x", "0"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 0.10);
    EXPECT_EQ(meter.marks(), (FieldMarks{false, true, false}));

    const MeterDisplay display = meter.tick({"4", "18", "0"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 0.12);
    EXPECT_EQ(meter.marks(), FieldMarks{});
    EXPECT_EQ(display.time, "00:00:05");
}

// Started with 2 persons at 36 an hour and a base cost of 1, a field
// emptied or mistyped in the second before the first tick: an hour counts
// with the number each field held at Start.
TEST(MeterModel, FieldEmptiedBeforeTheFirstTickCountsWithItsValueAtStart) {
    const struct {
        MeterFields fields;
        FieldMarks marks;
    } kRows[] = {
        {{"", "36", "1"}, {true, false, false}},
        {{"2", "", "1"}, {false, true, false}},
        {{"2", "3x", "1"}, {false, true, false}},
        {{"", "", "1"}, {true, true, false}},
    };
    for (const auto &row : kRows) {
        MeterModel meter = startedMeter({"2", "36", "1"});
        for (int tick = 0; tick < 3600; ++tick) {
            meter.tick(row.fields);
        }
        EXPECT_NEAR(meter.totalCost(), 73.0, 1e-9)
            << row.fields.persons << "|" << row.fields.salary;
        EXPECT_EQ(meter.marks(), row.marks) << row.fields.persons << "|" << row.fields.salary;
    }
}

TEST(MeterModel, AmountNeverLeavesTheFiniteDoubles) {
    const MeterFields huge{"1e300", "1e300", "5"};
    MeterModel meter = startedMeter(huge);
    const MeterDisplay display = meter.tick(huge);
    EXPECT_EQ(meter.totalCost(), 5.0);
    EXPECT_EQ(display.amount, "5,00");
    EXPECT_EQ(display.time, "00:00:01");  // time goes on
    EXPECT_EQ(meter.marks(), (FieldMarks{true, true, false}));

    meter.tick({"1", "3600", "5"});
    EXPECT_DOUBLE_EQ(meter.totalCost(), 6.0);
    EXPECT_EQ(meter.marks(), FieldMarks{});
}

TEST(MeterModel, AmountNearTheTopOfTheRangeStaysFinite) {
    const MeterFields fields{"1", "1e308", "1,7e308"};
    MeterModel meter = startedMeter(fields);
    for (int i = 0; i < 2000; ++i) {
        meter.tick(fields);
        ASSERT_TRUE(std::isfinite(meter.totalCost()));
    }
    EXPECT_TRUE(meter.marks().persons);
}

}  // namespace
}  // namespace tallaro

namespace tallaro {
namespace {

// Whole amounts as the meter writes them under German conventions, made
// here without the formatter: "12.345,00".
std::string germanWhole(long long whole) {
    std::string digits = std::to_string(whole);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ".");
    }
    return digits + ",00";
}

TEST(MeterModel, ThirtyDaysOfTicksKeepEveryHourMark) {
    using namespace tallaro::test_locales;
    MeterModel meter = startedMeter(kDesign);
    MeterDisplay display;
    for (int hour = 1; hour <= 30 * 24; ++hour) {
        for (int second = 0; second < 3600; ++second) {
            display = meter.tick(kDesign);
        }
        char time[16];
        std::snprintf(time, sizeof time, "%02d:00:00", hour);
        ASSERT_EQ(display.amount, germanWhole(100 + 50LL * hour)) << "hour " << hour;
        ASSERT_EQ(display.time, time) << "hour " << hour;
    }
    EXPECT_EQ(display.time, "720:00:00");
    EXPECT_NEAR(meter.totalCost(), 36100.0, 1e-4);  // 2.6 million sums, each off by an ulp or less
}

}  // namespace
}  // namespace tallaro
