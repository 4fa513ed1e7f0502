// Dates and times shown and read: formats tried in a fixed order, the shown form first, so that
// an ambiguous text (3/2/2026) means what the program itself would have shown.
#include "DateText.h"
#include "system.h"
#include "Variant.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QTime>
#include <cmath>

namespace vnt::datetext {

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

const QStringList &timeFormats()
{
    static const QStringList f = {QStringLiteral("H:mm:ss"), QStringLiteral("H:mm"), QStringLiteral("h:mm:ss AP"),
                                  QStringLiteral("h:mm AP"), QStringLiteral("h:mm:ss ap"), QStringLiteral("h:mm ap")};
    return f;
}

// The shown form with one-digit days and months allowed, each with four- and two-digit years,
// then the labels' form and ISO.
QStringList dateFormats()
{
    QString lenient = sys::shortDateFormat();
    lenient.replace(QLatin1String("dd"), QLatin1String("d")).replace(QLatin1String("MM"), QLatin1String("M"));
    QString twoDigit = lenient;
    twoDigit.replace(QLatin1String("yyyy"), QLatin1String("yy"));
    QStringList f = {lenient, twoDigit, QStringLiteral("d.M.yyyy"), QStringLiteral("d.M.yy"), QStringLiteral("yyyy-M-d")};
    f.removeDuplicates();
    return f;
}

std::optional<QTime> readTime(const QString &t)
{
    for (const QString &f : timeFormats()) {
        const QTime tm = QTime::fromString(t, f);
        if (tm.isValid())
            return tm;
    }
    return std::nullopt;
}

std::optional<QDate> readDate(const QString &t, const QStringList &formats)
{
    for (const QString &f : formats) {
        QDate d = QDate::fromString(t, f);
        if (!d.isValid())
            continue;
        if (!f.contains(QLatin1String("yyyy")) && d.year() < 1930)   // two-digit years: 00-29 mean 2000-2029
            d = d.addYears(100);
        return d;
    }
    return std::nullopt;
}

// As toDayCount, without a detour through local time (a midnight that daylight saving skips).
double dayCount(const QDate &d, const QTime &tm)
{
    const double days = double(kEpoch.daysTo(d));
    const double frac = tm.msecsSinceStartOfDay() / kMsPerDay;
    return days < 0 ? days - frac : days + frac;
}

} // namespace

QString show(double days)
{
    const QDateTime dt = fromDayCount(days);
    const bool hasTime = dt.time().msecsSinceStartOfDay() != 0;
    const bool hasDate = std::trunc(days) != 0.0;
    const QString time = dt.time().toString(QStringLiteral("HH:mm:ss"));
    if (!hasDate)
        return time;  // a bare time of day, the zero date included
    const QString date = dt.date().toString(sys::shortDateFormat());
    return hasTime ? date + QLatin1Char(' ') + time : date;
}

std::optional<double> read(const QString &text)
{
    const QString t = text.simplified();
    if (t.isEmpty())
        return std::nullopt;
    if (const auto tm = readTime(t))
        return tm->msecsSinceStartOfDay() / kMsPerDay;
    const QStringList formats = dateFormats();
    if (const auto d = readDate(t, formats))
        return dayCount(*d, QTime(0, 0));
    // A date and a time: the date's own form may hold blanks ("yyyy. MM. dd."), so every
    // blank is tried as the place where the time begins.
    for (qsizetype blank = t.indexOf(QLatin1Char(' ')); blank > 0; blank = t.indexOf(QLatin1Char(' '), blank + 1)) {
        const auto d = readDate(t.left(blank), formats);
        const auto tm = d ? readTime(t.mid(blank + 1)) : std::nullopt;
        if (d && tm)
            return dayCount(*d, *tm);
    }
    return std::nullopt;
}

} // namespace vnt::datetext
