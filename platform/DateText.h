// Dates and times as texts: the one rule by which the program shows a date and reads a typed or
// shown one back, used by the value conversions and by the grid's date and time columns alike.
// A shown date always reads back as the same date under the same locale, and the form the
// input labels ask for (TT.MM.JJ, TT.MM.JJJJ) always reads, whatever the locale.
#pragma once

#include <QString>
#include <optional>

namespace vnt::datetext {

// The day count (days since 1899-12-30, the fraction the time of day) as the program shows it:
// the locale's short date with digits only and four-digit years, a time of day after it when
// there is one, and the time alone when there is no date part.
QString show(double days);

// A text read as a day count: a date, a time of day, or a date followed by a time. Dates in the
// shown form, with one-digit days and months and two-digit years (00-29 mean 2000-2029), the
// label's day.month.year form, or ISO yyyy-MM-dd; times as H:mm[:ss], with or without AM/PM.
std::optional<double> read(const QString &text);

} // namespace vnt::datetext
