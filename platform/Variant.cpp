// The program's value type and its conversions. The rules follow what the callers were written
// against: numbers read from text with the locale's decimal sign, Boolean True is -1, whole
// numbers round half to even, and each failure has its own error number.
#include "Variant.h"
#include "DateText.h"
#include "NumberFormat.h"
#include "errors.h"
#include "system.h"

#include <QDateTime>
#include <QTimeZone>
#include <cfloat>
#include <cmath>
#include <limits>
#include <ostream>

namespace vnt {

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

double textToDouble(const QString &s)
{
    bool ok = false, overflow = false;
    const double d = parseNumberChecked(s, &ok, &overflow);
    if (overflow)
        raise(err::Overflow);
    if (!ok)
        raise(err::TypeMismatch);
    return d;
}

bool textToBool(const QString &s)
{
    const QString t = s.trimmed();
    // Both spellings are accepted whatever the locale: a value written under one language
    // must still read under the other.
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("Wahr"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("Falsch"), Qt::CaseInsensitive) == 0)
        return false;
    return textToDouble(t) != 0.0;
}

double textToDate(const QString &s)
{
    if (const auto days = datetext::read(s))
        return *days;
    raise(err::TypeMismatch);
}

template <typename T>
T roundToWhole(double d)
{
    if (std::isnan(d))
        raise(err::Overflow);
    const double r = std::nearbyint(d);  // the default rounding mode rounds half to even
    if (r < double(std::numeric_limits<T>::min()) || r > double(std::numeric_limits<T>::max()))
        raise(err::Overflow);
    return static_cast<T>(r);
}

QString numberText(double d, int digits)
{
    if (d == 0.0)
        return QStringLiteral("0");
    QString s = QString::number(d, 'g', digits);
    s.replace(QLatin1Char('e'), QLatin1Char('E'));
    s.replace(QLatin1Char('.'), sys::locale().decimalPoint());
    return s;
}

} // namespace

Variant Variant::null()
{
    Variant v;
    v.type_ = VarType::Null;
    return v;
}

Variant::Variant(bool b) : type_(VarType::Boolean), v_(b) {}
Variant::Variant(int16_t i) : type_(VarType::Integer), v_(i) {}
Variant::Variant(int32_t l) : type_(VarType::Long), v_(l) {}
Variant::Variant(float s) : type_(VarType::Single), v_(s) {}
Variant::Variant(double d) : type_(VarType::Double), v_(d) {}
Variant::Variant(const QString &s) : type_(VarType::String), v_(s) {}
Variant::Variant(const char *s) : type_(VarType::String), v_(QString::fromUtf8(s)) {}

Variant Variant::date(double daysSince18991230)
{
    Variant v(daysSince18991230);
    v.type_ = VarType::Date;
    return v;
}

Variant Variant::fromLongLong(long long v)
{
    if (v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max())
        return Variant(static_cast<int32_t>(v));
    return Variant(static_cast<double>(v));
}

bool Variant::isNumeric() const
{
    switch (type_) {
    case VarType::Boolean: case VarType::Integer: case VarType::Long:
    case VarType::Single: case VarType::Double: case VarType::Date:
        return true;
    default:
        return false;
    }
}

double Variant::toDouble() const
{
    switch (type_) {
    case VarType::Empty: return 0.0;
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Boolean: return std::get<bool>(v_) ? -1.0 : 0.0;
    case VarType::Integer: return std::get<int16_t>(v_);
    case VarType::Long: return std::get<int32_t>(v_);
    case VarType::Single: return std::get<float>(v_);
    case VarType::Double: case VarType::Date: return std::get<double>(v_);
    case VarType::String: return textToDouble(std::get<QString>(v_));
    }
    raise(err::TypeMismatch);
}

bool Variant::toBool() const
{
    switch (type_) {
    case VarType::Empty: return false;
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Boolean: return std::get<bool>(v_);
    case VarType::String: return textToBool(std::get<QString>(v_));
    default: return toDouble() != 0.0;
    }
}

int16_t Variant::toInt() const
{
    switch (type_) {
    case VarType::Integer: return std::get<int16_t>(v_);
    case VarType::Long: {
        const int32_t l = std::get<int32_t>(v_);
        if (l < std::numeric_limits<int16_t>::min() || l > std::numeric_limits<int16_t>::max())
            raise(err::Overflow);
        return static_cast<int16_t>(l);
    }
    default: return roundToWhole<int16_t>(toDouble());
    }
}

int32_t Variant::toLong() const
{
    switch (type_) {
    case VarType::Integer: return std::get<int16_t>(v_);
    case VarType::Long: return std::get<int32_t>(v_);
    default: return roundToWhole<int32_t>(toDouble());
    }
}

float Variant::toSingle() const
{
    if (type_ == VarType::Single)
        return std::get<float>(v_);
    const double d = toDouble();
    if (std::isfinite(d) && std::fabs(d) > double(FLT_MAX))
        raise(err::Overflow);
    return static_cast<float>(d);
}

double Variant::toDate() const
{
    if (type_ == VarType::String)
        return textToDate(std::get<QString>(v_));
    return toDouble();
}

QString Variant::toString() const
{
    switch (type_) {
    case VarType::Empty: return {};
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Boolean: {
        const bool german = sys::locale().language() == QLocale::German;
        if (std::get<bool>(v_))
            return german ? QStringLiteral("Wahr") : QStringLiteral("True");
        return german ? QStringLiteral("Falsch") : QStringLiteral("False");
    }
    case VarType::Integer: return QString::number(std::get<int16_t>(v_));
    case VarType::Long: return QString::number(std::get<int32_t>(v_));
    case VarType::Single: return numberText(std::get<float>(v_), 7);
    case VarType::Double: return numberText(std::get<double>(v_), 15);
    case VarType::Date: return datetext::show(std::get<double>(v_));
    case VarType::String: return std::get<QString>(v_);
    }
    return {};
}

QString Variant::text() const
{
    return isNull() ? QString() : toString();
}

bool Variant::operator==(const Variant &o) const
{
    if (type_ == VarType::Empty || type_ == VarType::Null || o.type_ == VarType::Empty || o.type_ == VarType::Null)
        return type_ == o.type_;
    if (type_ == VarType::String || o.type_ == VarType::String)
        return type_ == o.type_ && std::get<QString>(v_) == std::get<QString>(o.v_);
    return toDouble() == o.toDouble();
}

void PrintTo(const Variant &v, std::ostream *os)
{
    static const char *names[] = {"Empty", "Null", "Boolean", "Integer", "Long", "Single", "Double", "Date", "String"};
    *os << names[int(v.type())];
    if (!v.isEmpty() && !v.isNull())
        *os << "(" << v.toString().toStdString() << ")";
}

double toDayCount(const QDateTime &dt)
{
    const double days = double(kEpoch.daysTo(dt.date()));
    const double frac = dt.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the time still counts forward from midnight: -1.25 is 29 Dec 1899, 06:00.
    return days < 0 ? days - frac : days + frac;
}

QDateTime fromDayCount(double days)
{
    const double whole = std::trunc(days);
    QDate date = kEpoch.addDays(qint64(whole));
    qint64 ms = std::llround(std::fabs(days - whole) * kMsPerDay);
    if (ms >= qint64(kMsPerDay)) {  // a time that rounds up to the following midnight
        ms = 0;
        date = date.addDays(1);
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

} // namespace vnt
