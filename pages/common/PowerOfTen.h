// The power-of-ten scaling that every result page applies to a cost series before its axis
// names the unit: record page 1 and the pages of the multiple evaluation alike.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace vnt {

// Divides WERTE by one power of ten. With GRENZE > 0 and POTENZ 0 the power is first found so
// that the largest positive value is at most GRENZE; POTENZ > 0 alone only divides. Values
// that are no finite number are left as they are. `titel` names the error box after the page
// that scales.
void EXPONENT(std::vector<double> &WERTE, int16_t &POTENZ, float GRENZE,
              const QString &titel = QStringLiteral("Sub EXPONENT, Seite 1"));
// The unit the cost axis names after the power: "E" or "E/m".
QString potenzTitel(int16_t POTENZ, const QString &einheit);

} // namespace vnt
