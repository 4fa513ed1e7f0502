// Cell texts of the grid: number and date recognition, number texts, character maps.
#include "grid/GridText.h"
#include "platform/DateText.h"
#include "platform/NumberFormat.h"
#include "platform/fonts.h"
#include "platform/system.h"
#include <QLocale>
#include <QStringList>
#include <cmath>

namespace vnt::gridtext {

std::optional<double> readNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    QLocale loc = sys::locale();
    loc.setNumberOptions(QLocale::DefaultNumberOptions);
    bool ok = false;
    double v = loc.toDouble(t, &ok);
    if (ok && std::isfinite(v))
        return v;
    return std::nullopt;
}

// The grid's date and time cells hold what the column accessor showed; they read by the same rule.
std::optional<double> readDateTime(const QString &text)
{
    return datetext::read(text);
}

namespace {

QString numberText(double v, int digits)
{
    if (v == 0)
        return QStringLiteral("0");
    QString s = QString::number(v, 'g', digits);
    const int e = s.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        QString mant = s.left(e);
        QString exp = s.mid(e + 1);  // sign and digits
        QChar sign = exp.at(0);
        QString digitsPart = exp.mid(1);
        while (digitsPart.size() > 2 && digitsPart.startsWith(QLatin1Char('0')))
            digitsPart.remove(0, 1);
        if (digitsPart.size() < 2)
            digitsPart.prepend(QLatin1Char('0'));
        s = mant + QLatin1Char('E') + sign + digitsPart;
    }
    s.replace(QLatin1Char('.'), sys::decimalSign());
    return s;
}

} // namespace

QString generalDouble(double v) { return numberText(v, 15); }

QString refusedCellsText(const QList<RefusedCell> &cells)
{
    if (cells.isEmpty())
        return {};
    QString text = QStringLiteral("Der Wert für Zeile %1, Spalte %2 wurde nicht übernommen:\r\n").arg(cells.first().row).arg(cells.first().column)
                   + cells.first().reason;
    if (cells.size() > 1)
        text += QStringLiteral("\r\n(%1 weitere Zellen wurden ebenfalls nicht übernommen.)").arg(cells.size() - 1);
    return text;
}
QString plainSingle(float v) { return numberText(double(v), 7); }

QString formatCell(const QString &text, const QString &pattern)
{
    if (pattern.isEmpty())
        return text;
    auto v = readNumber(text);
    if (!v)
        return text;
    return Format(*v, pattern);
}

QChar ansiChar(int code)
{
    // 0x80..0x9F differ from Latin-1 in the Windows code page
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    code &= 0xFF;
    if (code >= 0x80 && code < 0xA0)
        return QChar(high[code - 0x80]);
    return QChar(code);
}

QString symbolToUnicode(const QString &text)
{
    static const char16_t upper[26] = {0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C,
                                       0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396};
    static const char16_t lower[26] = {0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC,
                                       0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6};
    struct Pair { char16_t from, to; };
    static const Pair other[] = {
        {0x22, 0x2200}, {0x24, 0x2203}, {0x27, 0x220B}, {0x2A, 0x2217}, {0x2D, 0x2212}, {0x40, 0x2245}, {0x5E, 0x22A5},
        {0x60, 0xF8E5}, {0x7E, 0x223C}, {0xA1, 0x03D2}, {0xA2, 0x2032}, {0xA3, 0x2264}, {0xA4, 0x2044}, {0xA5, 0x221E},
        {0xA6, 0x0192}, {0xA7, 0x2663}, {0xA8, 0x2666}, {0xA9, 0x2665}, {0xAA, 0x2660}, {0xAB, 0x2194}, {0xAC, 0x2190},
        {0xAD, 0x2191}, {0xAE, 0x2192}, {0xAF, 0x2193}, {0xB0, 0x00B0}, {0xB1, 0x00B1}, {0xB2, 0x2033}, {0xB3, 0x2265},
        {0xB4, 0x00D7}, {0xB5, 0x221D}, {0xB6, 0x2202}, {0xB7, 0x2022}, {0xB8, 0x00F7}, {0xB9, 0x2260}, {0xBA, 0x2261},
        {0xBB, 0x2248}, {0xBC, 0x2026}, {0xC0, 0x2135}, {0xC5, 0x2295}, {0xC6, 0x2205}, {0xC7, 0x2229}, {0xC8, 0x222A},
        {0xD0, 0x2220}, {0xD1, 0x2207}, {0xD5, 0x220F}, {0xD6, 0x221A}, {0xD7, 0x22C5}, {0xD8, 0x00AC}, {0xD9, 0x2227},
        {0xDA, 0x2228}, {0xDB, 0x21D4}, {0xDC, 0x21D0}, {0xDD, 0x21D1}, {0xDE, 0x21D2}, {0xDF, 0x21D3}, {0xE5, 0x2211},
        {0xF2, 0x222B}};
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= 'A' && u <= 'Z')
            out += QChar(upper[u - 'A']);
        else if (u >= 'a' && u <= 'z')
            out += QChar(lower[u - 'a']);
        else {
            QChar mapped = ch;
            for (const Pair &p : other)
                if (p.from == u) {
                    mapped = QChar(p.to);
                    break;
                }
            out += mapped;
        }
    }
    return out;
}

QString mapFontName(const QString &name) { return fonts::family(name); }

} // namespace vnt::gridtext
