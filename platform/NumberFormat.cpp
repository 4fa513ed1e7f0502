// Number formats and number reading in the user's locale. Formatting rounds in decimal digits
// (15 significant, as users have always seen the values) so that 1,005 with two decimals
// gives 1,01 and not the 1,00 that the binary value would.
#include "NumberFormat.h"
#include "errors.h"
#include "system.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace vnt {

namespace {

struct Pattern {
    QString prefix, suffix;
    int minInt = 0;        // '0' placeholders before the decimal point
    int minFrac = 0;       // '0' placeholders after it
    int maxFrac = 0;       // all placeholders after it
    bool point = false;
    bool group = false;
    bool percent = false;
};

Pattern parsePattern(const QString &f)
{
    Pattern p;
    bool seenDigit = false, inFrac = false;
    QString literal;
    auto flushLiteral = [&] {
        (seenDigit ? p.suffix : p.prefix) += literal;
        literal.clear();
    };
    for (int i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == QLatin1Char('"')) {
            const int end = f.indexOf(QLatin1Char('"'), i + 1);
            literal += f.mid(i + 1, (end < 0 ? f.size() : end) - i - 1);
            i = end < 0 ? f.size() : end;
        } else if (c == QLatin1Char('\\') && i + 1 < f.size()) {
            literal += f[++i];
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (!seenDigit)
                flushLiteral();
            seenDigit = true;
            if (inFrac) {
                ++p.maxFrac;
                if (c == QLatin1Char('0'))
                    p.minFrac = p.maxFrac;
            } else if (c == QLatin1Char('0')) {
                ++p.minInt;
            }
        } else if (c == QLatin1Char('.') && !inFrac) {
            if (!seenDigit)
                flushLiteral();
            seenDigit = true;
            inFrac = true;
            p.point = true;
        } else if (c == QLatin1Char(',') && !inFrac && seenDigit) {
            p.group = true;
        } else {
            if (c == QLatin1Char('%'))
                p.percent = true;
            literal += c;
        }
    }
    (seenDigit ? p.suffix : p.prefix) += literal;
    return p;
}

// |value| rounded half away from zero to `decimals` places, as integer and fraction digits.
void decimalDigits(double value, int decimals, QString &intPart, QString &fracPart)
{
    const QString e = QString::number(std::fabs(value), 'e', 14);  // d.dddddddddddddde±x
    const int ePos = e.indexOf(QLatin1Char('e'));
    QString digits = e.left(ePos);
    digits.remove(1, 1);
    int pointPos = e.mid(ePos + 1).toInt() + 1;  // digits before the decimal point
    if (pointPos < 0) {
        digits.prepend(QString(-pointPos, QLatin1Char('0')));
        pointPos = 0;
    }
    if (digits.size() < pointPos + decimals + 1)
        digits.append(QString(pointPos + decimals + 1 - digits.size(), QLatin1Char('0')));
    const int keep = pointPos + decimals;
    const bool up = digits[keep] >= QLatin1Char('5');
    digits.truncate(keep);
    if (up) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            digits.prepend(QLatin1Char('1'));
            ++pointPos;
        }
    }
    intPart = digits.left(pointPos);
    while (intPart.size() > 1 && intPart[0] == QLatin1Char('0'))
        intPart.remove(0, 1);
    if (intPart == QLatin1String("0"))
        intPart.clear();
    fracPart = digits.mid(pointPos);
}

QString generalNumber(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    QString s = QString::number(value, 'g', 15);
    s.replace(QLatin1Char('e'), QLatin1Char('E'));
    s.replace(QLatin1Char('.'), sys::locale().decimalPoint());
    return s;
}

QString applyPattern(double value, const Pattern &p, bool withSign)
{
    if (p.percent)
        value *= 100.0;
    QString intPart, fracPart;
    decimalDigits(value, p.maxFrac, intPart, fracPart);
    while (fracPart.size() > p.minFrac && fracPart.endsWith(QLatin1Char('0')))
        fracPart.chop(1);
    if (intPart.size() < p.minInt)
        intPart.prepend(QString(p.minInt - intPart.size(), QLatin1Char('0')));
    const QLocale loc = sys::locale();
    if (p.group) {
        const QString sep = loc.groupSeparator();
        for (int i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, sep);
    }
    QString number = intPart;
    if (p.point)
        number += loc.decimalPoint() + fracPart;
    // A value that rounds to nothing is shown without a sign: "-0,00" reads as a fault in a table.
    const bool zero = !std::any_of(number.begin(), number.end(), [](QChar c) { return c.isDigit() && c != QLatin1Char('0'); });
    return (withSign && value < 0 && !zero ? QStringLiteral("-") : QString()) + p.prefix + number + p.suffix;
}

// Position of the "E+"/"E-" of a scientific pattern ("#0.0E+0"), -1 for a fixed-point one.
// Quoted and escaped characters are text: a unit such as E-Modul in quotes is no mark.
qsizetype exponentMark(const QString &f)
{
    for (qsizetype i = 0; i + 1 < f.size(); ++i) {
        const QChar c = f[i];
        if (c == QLatin1Char('"')) {
            const qsizetype end = f.indexOf(QLatin1Char('"'), i + 1);
            if (end < 0)
                return -1;
            i = end;
        } else if (c == QLatin1Char('\\')) {
            ++i;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e'))
                   && (f[i + 1] == QLatin1Char('+') || f[i + 1] == QLatin1Char('-'))) {
            return i;
        }
    }
    return -1;
}

// A scientific pattern: one whole digit in the mantissa, formatted with the pattern's part
// before the "E"; the exponent with at least as many digits as the pattern has zeros after
// the sign, "E+" always signed, "E-" only when negative; text after the exponent's digits
// stays. The statistics tables print their widest columns this way.
QString applyScientific(double value, const QString &pattern, qsizetype mark, bool withSign)
{
    const Pattern mantissa = parsePattern(pattern.left(mark));
    const bool alwaysSigned = pattern[mark + 1] == QLatin1Char('+');
    qsizetype end = mark + 2;
    int expDigits = 0;
    for (; end < pattern.size() && (pattern[end] == QLatin1Char('0') || pattern[end] == QLatin1Char('#')); ++end)
        if (pattern[end] == QLatin1Char('0'))
            ++expDigits;
    expDigits = std::max(expDigits, 1);
    const QString suffix = parsePattern(pattern.mid(end)).prefix;
    int exponent = 0;
    if (value != 0)
        exponent = int(std::floor(std::log10(std::fabs(value))));
    // 9.96 with one decimal rounds up to 10.0: one more power of ten.
    QString intPart, fracPart;
    decimalDigits(value / std::pow(10.0, exponent), mantissa.maxFrac, intPart, fracPart);
    if (intPart.size() > 1)
        ++exponent;
    const QString sign = exponent < 0 ? QStringLiteral("-") : alwaysSigned ? QStringLiteral("+") : QString();
    return applyPattern(value / std::pow(10.0, exponent), mantissa, withSign) + pattern[mark] + sign
         + QString::number(std::abs(exponent)).rightJustified(expDigits, QLatin1Char('0')) + suffix;
}

QString applySection(double value, const QString &section, bool withSign)
{
    const qsizetype mark = exponentMark(section);
    return mark < 0 ? applyPattern(value, parsePattern(section), withSign)
                    : applyScientific(value, section, mark, withSign);
}

} // namespace

QString Format(double value, const QString &format)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const QString named = format.trimmed();
    if (named.isEmpty() || named.compare(QLatin1String("General Number"), Qt::CaseInsensitive) == 0)
        return generalNumber(value);
    if (named.compare(QLatin1String("Fixed"), Qt::CaseInsensitive) == 0)
        return applyPattern(value, parsePattern(QStringLiteral("0.00")), true);
    if (named.compare(QLatin1String("Standard"), Qt::CaseInsensitive) == 0)
        return applyPattern(value, parsePattern(QStringLiteral("#,##0.00")), true);

    // Sections: positive;negative;zero. A negative section carries its own sign, if any.
    const QStringList sections = format.split(QLatin1Char(';'));
    if (sections.size() >= 3 && value == 0.0 && !sections[2].isEmpty())
        return applySection(value, sections[2], false);
    if (sections.size() >= 2 && value < 0 && !sections[1].isEmpty())
        return applySection(-value, sections[1], false);
    return applySection(value, sections[0], true);
}

double RoundHalfEven(double value, int decimals)
{
    if (decimals < 0)
        raise(5);
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    const double x = value * scale;
    const double fl = std::floor(x);
    const double diff = x - fl;
    // A product like 0,125 * 100 lands a hair off the half; treat it as the half it stands for.
    const double eps = 1e-9 * std::max(1.0, std::fabs(x));
    double r;
    if (std::fabs(diff - 0.5) <= eps)
        r = std::fmod(fl, 2.0) == 0.0 ? fl : fl + 1.0;
    else
        r = std::nearbyint(x);
    return r / scale;
}

double parseNumberChecked(const QString &text, bool *ok, bool *overflow)
{
    *ok = false;
    *overflow = false;
    const QString t = text.trimmed();
    const QLocale loc = sys::locale();
    const QString dec = loc.decimalPoint();
    const QString grp = loc.groupSeparator();

    QString ascii;
    int i = 0;
    const int n = t.size();
    if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        ascii += t[i++];
    // Integer part, with group signs only where they belong (every third digit from the right).
    QString intDigits;
    QList<int> groupLengths;
    int run = 0;
    while (i < n) {
        if (t[i].isDigit() && t[i].unicode() < 128) {
            intDigits += t[i++];
            ++run;
        } else if (!grp.isEmpty() && t.mid(i, grp.size()) == grp && grp != dec) {
            groupLengths << run;
            run = 0;
            i += grp.size();
        } else {
            break;
        }
    }
    if (!groupLengths.isEmpty()) {
        if (groupLengths.first() < 1 || groupLengths.first() > 3 || run != 3)
            return 0.0;
        for (int k = 1; k < groupLengths.size(); ++k)
            if (groupLengths[k] != 3)
                return 0.0;
    }
    QString fracDigits;
    if (i < n && t.mid(i, dec.size()) == dec) {
        i += dec.size();
        while (i < n && t[i].isDigit() && t[i].unicode() < 128)
            fracDigits += t[i++];
    }
    if (intDigits.isEmpty() && fracDigits.isEmpty())
        return 0.0;
    ascii += (intDigits.isEmpty() ? QStringLiteral("0") : intDigits) + QLatin1Char('.')
           + (fracDigits.isEmpty() ? QStringLiteral("0") : fracDigits);
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ascii += QLatin1Char('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
            ascii += t[i++];
        int expDigits = 0;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
            ascii += t[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return 0.0;
    }
    if (i != n)
        return 0.0;
    bool convOk = false;
    const double d = QLocale::c().toDouble(ascii, &convOk);
    if (!convOk || !std::isfinite(d)) {
        // The text is a well-formed number; it only failed by its size.
        *overflow = true;
        return 0.0;
    }
    *ok = true;
    return d;
}

double parseNumber(const QString &text, bool *ok)
{
    bool good = false, overflow = false;
    const double d = parseNumberChecked(text, &good, &overflow);
    if (ok)
        *ok = good;
    return d;
}

} // namespace vnt
