// The pieces of a curve figure that are plain numbers and texts.
#include "pages/multiple/CurveFigure.h"

#include <cmath>

namespace vnt {

float DepthAxis::length(size_t c) const
{
    if (c >= SDEZ.size())
        return 0;
    const float own = c == 0 ? float(SDEZ[0]) : float(SDEZ[c]) - float(SDEZ[c - 1]);
    return float(double(own) * std::pow(10.0, EXP));
}

std::vector<std::vector<double>> stacked(const std::vector<std::vector<float>> &parts, const std::vector<bool> &found)
{
    std::vector<std::vector<double>> out(parts.size(), std::vector<double>(found.size(), 0.0));
    for (size_t c = 0; c < found.size(); ++c) {
        if (!found[c])
            continue;
        float sum = 0;
        for (size_t k = 0; k < parts.size(); ++k) {
            sum += c < parts[k].size() ? parts[k][c] : 0.0f;
            out[k][c] = sum;
        }
    }
    return out;
}

QString depthTitle(int16_t EXP)
{
    if (EXP == 0)
        return QStringLiteral("z [m]");
    if (EXP == 1)
        return QStringLiteral("z [10 m]");
    return QStringLiteral("z [10 {h,2}") + QString::number(EXP) + QStringLiteral(" m]");
}

const AxisLists &depthLists()
{
    static const AxisLists l{
        {0, 1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100},
        {1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100},
        {1, 2, 3, 4, 5, 5, 3, 4, 5, 6, 7, 4, 3, 5, 3, 7, 4, 6, 4},
        grafik::Liste(19, 1),
        {1, 2, 3, 4, 5, 5, 3, 4, 5, 3, 1, 4, 3, 2, 3, 2, 2, 3, 4},
    };
    return l;
}

} // namespace vnt
