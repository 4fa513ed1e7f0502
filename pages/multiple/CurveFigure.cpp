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
    return stackedIn<float>(parts, found);
}

void perMetre(std::vector<std::vector<double>> &stacks, const DepthAxis &d)
{
    for (auto &stack : stacks)
        for (size_t c = 0; c < stack.size(); ++c)
            stack[c] = ratio(float(stack[c]), d.length(c));
}

double ratio(float num, float den) { return den == 0 ? 0.0 : double(float(num / den)); }

std::vector<CurveSeries> labelled(std::vector<std::vector<double>> stacks,
                                  const std::vector<std::pair<QString, int>> &legend)
{
    std::vector<CurveSeries> out;
    for (size_t k = 0; k < stacks.size() && k < legend.size(); ++k)
        out.push_back({std::move(stacks[k]), legend[k].first, legend[k].second});
    return out;
}

int seriesLineStyle(const std::vector<CurveSeries> &series, size_t k)
{
    if (k >= series.size())
        return 0;
    const int light = series[k].colour;
    if (light < 8 || light > 15)
        return 0;
    for (const CurveSeries &s : series)
        if (s.colour == light - 8)
            return 1;
    return 0;
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

const AxisLists &hourLists()
{
    static const AxisLists l{
        {0, 1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200, 250, 300, 400, 500,
         750, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 7500, 10000, 15000, 20000, 25000, 50000, 100000},
        {1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200, 250, 300, 400, 500, 750,
         1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 7500, 10000, 15000, 20000, 25000, 50000, 100000},
        {1, 2, 3, 4, 5, 5, 3, 4, 5, 6, 7, 4, 3, 5, 6, 7, 4, 6, 4, 6, 8, 10, 6, 8, 10, 6, 10, 6, 8, 4, 9, 7, 8, 9, 10,
         10, 10, 10, 8, 10, 10, 10},
        grafik::Liste(42, 1),
        {1, 2, 3, 4, 5, 5, 3, 4, 5, 3, 1, 4, 3, 2, 6, 2, 2, 3, 4, 3, 4, 2, 3, 4, 2, 3, 2, 3, 4, 2, 3, 1, 4, 3, 2, 2, 2,
         2, 4, 2, 2, 2},
    };
    return l;
}

const AxisLists &rateLists()
{
    static const AxisLists l{
        {0, 1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200, 250, 300, 400, 500,
         750, 1000, 1500, 3000, 5000, 7500, 10000},
        {1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200, 250, 300, 400, 500, 750,
         1000, 1500, 3000, 5000, 7500, 10000},
        {1, 2, 3, 4, 5, 5, 3, 4, 5, 6, 7, 4, 3, 5, 3, 7, 4, 6, 5, 6, 8, 10, 9, 8, 10, 6, 10, 10, 6, 5, 5, 5},
        grafik::Liste(32, 1),
        {1, 2, 3, 4, 5, 5, 3, 4, 5, 6, 7, 4, 3, 5, 3, 7, 4, 6, 5, 3, 2, 5, 3, 4, 2, 3, 2, 2, 2, 1, 1, 1},
    };
    return l;
}

const AxisLists &costLists()
{
    static const AxisLists l{
        {0, 1, 2, 3, 4, 5, 10, 15, 20, 25, 50, 100, 200, 300, 400, 500, 750, 1000, 2000, 4000, 6000, 8000, 9000},
        {1, 2, 3, 4, 5, 10, 15, 20, 25, 50, 100, 200, 300, 400, 500, 750, 1000, 2000, 4000, 6000, 8000, 9000},
        {10, 4, 6, 8, 10, 10, 5, 8, 5, 5, 10, 8, 9, 8, 10, 3, 10, 8, 8, 6, 8, 9},
        grafik::Liste(22, 1),
        {1, 2, 3, 4, 5, 5, 5, 4, 5, 5, 5, 4, 3, 4, 5, 3, 5, 4, 4, 3, 4, 3},
    };
    return l;
}

} // namespace vnt
