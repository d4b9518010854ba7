#include "meter/meter_model.h"

#include <cmath>
#include <optional>
#include <utility>

#include "meter/display_format.h"
#include "numtext/number_text.h"

namespace tallaro {

MeterModel::MeterModel(NumberLocale locale) : m_locale(std::move(locale)) {}

MeterModel::StartOutcome MeterModel::start(const MeterFields &fields) {
    const std::optional<double> persons = textToDouble(fields.persons, m_locale);
    const std::optional<double> salary = textToDouble(fields.salary, m_locale);
    m_marks.persons = !persons;
    m_marks.salary = !salary;
    if (!m_baseTaken) {
        m_marks.baseCost = !textToDouble(fields.baseCost, m_locale);
    }
    if (m_marks.persons || m_marks.salary || m_marks.baseCost) {
        return StartOutcome::Refused;
    }
    m_persons = *persons;
    m_salary = *salary;
    if (m_state == State::Running) {
        return StartOutcome::AlreadyRunning;
    }
    m_state = State::Running;
    return StartOutcome::Started;
}

void MeterModel::stop() {
    if (m_state == State::Running) {
        m_state = State::Stopped;
    }
}

MeterDisplay MeterModel::tick(const MeterFields &fields) {
    if (!m_baseTaken) {
        // Only once: an amount that later comes back to 0.0 never adds it again.
        if (const std::optional<double> base = textToDouble(fields.baseCost, m_locale)) {
            m_totalCost = *base;
            m_baseTaken = true;
        }
        m_marks.baseCost = !m_baseTaken;
    }
    const std::optional<double> persons = textToDouble(fields.persons, m_locale);
    const std::optional<double> salary = textToDouble(fields.salary, m_locale);
    m_marks.persons = !persons;
    m_marks.salary = !salary;
    m_persons = persons.value_or(m_persons);
    m_salary = salary.value_or(m_salary);

    const double next = (m_salary * m_persons) / kTicksPerHour + m_totalCost;
    if (std::isfinite(next)) {
        m_totalCost = next;
    } else {
        m_marks.persons = true;
        m_marks.salary = true;
    }
    m_elapsedTime += kOneSecond;
    std::string amount = formatAmount(m_totalCost, m_locale);
    std::string caption = amount + kCaptionSuffix;
    return {std::move(amount), std::move(caption), formatElapsed(m_elapsedTime)};
}

}  // namespace tallaro
