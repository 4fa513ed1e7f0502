// Number formats as the program writes them ("#0.00", "#,##0", "0.0", "0", "Fixed", "#0.0E+0"...),
// with the locale's decimal and group signs. One formatter serves grids and drawing tables.
#pragma once

#include <QString>

namespace vnt {

QString Format(double value, const QString &format);
// Rounds half to even, so that stored and printed values round as they always have.
double RoundHalfEven(double value, int decimals = 0);
// A text read as a number with the locale's decimal sign; ok=false when it is none.
double parseNumber(const QString &text, bool *ok = nullptr);
// The same, telling a number too large for a double (*overflow = true, *ok = false) apart
// from a text that is no number at all.
double parseNumberChecked(const QString &text, bool *ok, bool *overflow);

} // namespace vnt
