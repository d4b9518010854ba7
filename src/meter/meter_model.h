// meter_model.h
// The running meter without any window: the amount so far, the meter time,
// and what "Start", "Stop" and one tick do with the three field texts.
#pragma once

#include <string>
#include <string_view>

#include "numtext/number_locale.h"

namespace tallaro {

// The texts of the three input fields, as the user left them.
struct MeterFields {
    std::string_view persons;
    std::string_view salary;
    std::string_view baseCost;
};

// Which fields carry the mark of a field that does not hold a usable number.
struct FieldMarks {
    bool persons = false;
    bool salary = false;
    bool baseCost = false;

    bool operator==(const FieldMarks &) const = default;
};

// The texts one tick writes: the amount label, the window caption, the time label.
struct MeterDisplay {
    std::string amount;
    std::string caption;
    std::string time;
};

class MeterModel {
public:
    enum class State { Ready, Running, Stopped };

    // What "Start" asks of the window's timer.
    enum class StartOutcome {
        Refused,         // a needed field holds no number; the meter stays as it was
        Started,         // switch the one-second timer on
        AlreadyRunning,  // leave the running timer and its interval alone
    };

    static constexpr double kOneSecond = 1.0 / 86400.0;  // of a day
    static constexpr double kTicksPerHour = 3'600'000.0 / 1000.0;

    explicit MeterModel(NumberLocale locale);

    // "Start": checks persons and salary, and the base cost while it has not
    // been taken, marking each that holds no number and clearing the marks of
    // those that do. Runs the meter when all of them hold numbers.
    [[nodiscard]] StartOutcome start(const MeterFields &fields);

    // "Stop": halts the meter; amount and time stay as they are.
    void stop();

    // One second of meeting: takes the base cost on the first tick, adds one
    // second of all persons' time to the amount and one second to the meter
    // time. A persons or salary text that holds no number is marked and its
    // last number goes on counting; an amount that would leave the finite
    // doubles stays as it was and marks both.
    MeterDisplay tick(const MeterFields &fields);

    State state() const { return m_state; }
    // The base-cost field can be edited until the meter first starts.
    bool baseCostEditable() const { return m_state == State::Ready; }
    const FieldMarks &marks() const { return m_marks; }
    // Whether the first tick has taken the base cost; from then on it is not read.
    bool baseTaken() const { return m_baseTaken; }
    double totalCost() const { return m_totalCost; }
    double elapsedTime() const { return m_elapsedTime; }

private:
    NumberLocale m_locale;
    State m_state = State::Ready;
    double m_totalCost = 0.0;
    double m_elapsedTime = 0.0;  // days
    bool m_baseTaken = false;
    double m_persons = 0.0;  // the last number each field held
    double m_salary = 0.0;
    FieldMarks m_marks;
};

}  // namespace tallaro
