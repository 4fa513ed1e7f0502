// Scaling a series by a power of ten and naming the scaled unit.
#include "pages/common/PowerOfTen.h"

#include "platform/Guard.h"
#include "platform/errors.h"

#include <cmath>

namespace vnt {

void EXPONENT(std::vector<double> &WERTE, int16_t &POTENZ, float GRENZE, const QString &titel)
{
    Guard g(QStringLiteral("VB-Fehler: "), titel);
    if (!g.step([&] {
            if (GRENZE > 0 && POTENZ == 0) {
                // A value that is no number (an overflowed sum) has no power of ten to find.
                double m = 0;
                for (double w : WERTE)
                    if (std::isfinite(w) && w > m)
                        m = w;
                while (m > GRENZE) {
                    if (POTENZ == INT16_MAX)
                        raise(err::Overflow);
                    m /= 10;
                    ++POTENZ;
                }
            }
        }))
        return;
    if (POTENZ <= 0)
        return;
    const double teiler = std::pow(10.0, POTENZ);
    for (double &w : WERTE)
        if (std::isfinite(w) && !g.step([&] { w = double(float(w / teiler)); }))
            return;
}

QString potenzTitel(int16_t POTENZ, const QString &einheit)
{
    if (POTENZ == 0)
        return QStringLiteral(" [") + einheit + QLatin1Char(']');
    if (POTENZ == 1)
        return QStringLiteral(" [10 ") + einheit + QLatin1Char(']');
    return QStringLiteral(" [10{h,2}") + QString::number(POTENZ) + QLatin1Char(' ') + einheit + QLatin1Char(']');
}

} // namespace vnt
