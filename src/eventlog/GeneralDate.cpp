#include "eventlog/GeneralDate.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace ombrel::eventlog {

namespace {

// A time format less its zone letters ("t" outside quoted text) and the blanks they leave.
QString withoutZone(const QString& format) {
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        }
        if (quoted || c != QLatin1Char('t')) {
            kept += c;
        }
    }
    return kept.trimmed();
}

}  // namespace

std::string generalDate(std::chrono::local_seconds time) {
    // One listing formats a date for every row: the locale and its formats are looked up once.
    static const QLocale locale = QLocale::system();
    static const QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
    static const QString timeFormat = withoutZone(locale.timeFormat(QLocale::LongFormat));
    const std::chrono::local_days day = std::chrono::floor<std::chrono::days>(time);
    const std::chrono::year_month_day ymd{day};
    QString text = locale.toString(
        QDate(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
              static_cast<int>(static_cast<unsigned>(ymd.day()))),
        dateFormat);
    if (time != day) {
        // The long time without a zone: the time is already the local time of this machine.
        const std::chrono::hh_mm_ss clock{time - day};
        text += QLatin1Char(' ') + locale.toString(QTime(static_cast<int>(clock.hours().count()),
                                                         static_cast<int>(clock.minutes().count()),
                                                         static_cast<int>(clock.seconds().count())),
                                                   timeFormat);
    }
    return text.toStdString();
}

}  // namespace ombrel::eventlog
