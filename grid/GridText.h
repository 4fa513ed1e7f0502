// Locale-aware reading and writing of cell texts for the grid: the number and date tests,
// the plain text forms of numbers, formatting by column pattern, and the character maps of
// the header markup.
#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace vnt::gridtext {

// A text read as a number under the user's locale (blanks around it allowed).
std::optional<double> readNumber(const QString &text);
inline bool isNumeric(const QString &text) { return readNumber(text).has_value(); }

// A text read as a date, a time of day or both under the user's locale, as a day count
// (days since 1899-12-30; a time alone lies on day 0).
std::optional<double> readDateTime(const QString &text);
inline bool isDate(const QString &text) { return readDateTime(text).has_value(); }

// Double in its general text form: locale decimal sign, at most fifteen significant digits,
// exponent written "1E+100".
QString generalDouble(double v);
// Single float in its plain text form (seven significant digits).
QString plainSingle(float v);

// A cell that did not take a value: its row, its column's name and why.
struct RefusedCell {
    QString row;   // as the grid numbers it
    QString column;
    QString reason;
};
// The one message that names the first refused cell and counts the others.
QString refusedCellsText(const QList<RefusedCell> &cells);

// A cell text formatted with a column pattern; texts that are no number stay as they are,
// and an empty pattern leaves the text alone.
QString formatCell(const QString &text, const QString &pattern);

// The character a Windows ANSI code stands for.
QChar ansiChar(int code);
// Text written in the "Symbol" font, as the Unicode characters it shows.
QString symbolToUnicode(const QString &text);

// Font names stored in grid settings mapped to the metric-compatible fonts installed here.
QString mapFontName(const QString &name);

} // namespace vnt::gridtext
