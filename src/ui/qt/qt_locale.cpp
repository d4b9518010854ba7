#include "ui/qt/qt_locale.h"

#include <QLocale>

namespace tallaro::ui {

NumberLocale numberLocaleOf(const QLocale &locale) {
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

}  // namespace tallaro::ui
