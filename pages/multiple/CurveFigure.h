// What the figure engine of the multiple-evaluation pages draws, described as data. Every
// curve figure of these pages plots one value per combination over the cumulative depth of
// the combinations: a stepped outline per stacked series, a separator line at the end depth
// of every combination, a legend when the series are several, and a power-of-ten cost title
// where the values are costs. The first figure of a page owns the depth axis; the later ones
// copy it. The strip beside the first figure labels the combinations.
#pragma once

#include "drawing/GrafikMath.h"

#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace vnt {

// The depth axis a page shares between its figures.
struct DepthAxis {
    // Cumulative depth at the end of each combination: metres until the first figure has
    // drawn, then divided once by 10 to the power EXP.
    std::vector<double> SDEZ;
    int16_t EXP = 0;
    float MY = 0;     // depth units per millimetre of the first figure, as it was drawn
    float YMAX = 0;   // the lower end of its depth axis

    // The own length of combination c in metres, taken back from the scaled depths.
    float length(size_t c) const;
};

// The candidate lists of an axis, in the order they are given to the drawing object.
struct AxisLists {
    grafik::Liste min, diff, it, git, zl;
};

// One stacked series: the value of every combination, its legend text and palette colour.
struct CurveSeries {
    std::vector<double> values;
    QString label;
    int colour = 0;
};

struct CurveFigure {
    int number = 0;               // EIDOBJEKT and the G0 row
    QString box;                  // picture box
    QString title;                // drawn bold at the top left; empty for none
    bool ownsDepthAxis = false;   // the page's first figure
    int depthFrom = 0;            // for a later figure: the first figure whose depth axis it copies
    AxisLists x;                  // the value axis
    QString xTitle, xFormat;
    int copyXFrom = 0;            // a figure whose value axis lists and format are taken instead
    // A value axis in units of 10^n: the total series is scaled to at most 9000 and the
    // others by the same power; the title is prefix + " [" + the power + unit + "]".
    struct CostScale {
        QString prefix, unit;
    };
    std::optional<CostScale> costScale;
    // The series in stacking order, the total last; computed when the figure draws, after
    // the first figure has scaled the depths. A single series without label is drawn in the
    // axes' black hairline and has no legend.
    std::function<std::vector<CurveSeries>(const DepthAxis &)> series;
    // The legend stroke runs from `legendFrom` to `legendTo` millimetres before the end of
    // the value axis, its rows 3 mm apart from 2 mm below depth 0.
    double legendFrom = 10, legendTo = 5;
    // Drawn right after the figure on the same target: the first figure's strip.
    std::function<void(int OBJ, float XDL, float YDO)> then;
};

// The strip of combination numbers in the right margin of the first figure's box.
struct StripFigure {
    int number = 0;
    QString box;        // the first figure's box
    int firstFigure = 0;
};

// Stacks per-combination parts into running sums, part by part in single precision;
// combinations without sections keep 0 in every sum.
std::vector<std::vector<double>> stacked(const std::vector<std::vector<float>> &parts,
                                         const std::vector<bool> &found);

// The same running sums, summed in `Sum`: counts of measures add up in 64 bits, so that no
// number of measures wraps.
template <class Sum, class T>
std::vector<std::vector<double>> stackedIn(const std::vector<std::vector<T>> &parts, const std::vector<bool> &found)
{
    std::vector<std::vector<double>> out(parts.size(), std::vector<double>(found.size(), 0.0));
    for (size_t c = 0; c < found.size(); ++c) {
        if (!found[c])
            continue;
        Sum sum = 0;
        for (size_t k = 0; k < parts.size(); ++k) {
            sum += c < parts[k].size() ? Sum(parts[k][c]) : Sum(0);
            out[k][c] = double(sum);
        }
    }
    return out;
}

// Divides every stacked sum by its combination's own length in metres.
void perMetre(std::vector<std::vector<double>> &stacks, const DepthAxis &d);

// A quotient whose divisor is 0 has no value: the combination shows no bar rather than an
// error box.
double ratio(float num, float den);

// The stacked sums in order, each with its legend text and palette colour.
std::vector<CurveSeries> labelled(std::vector<std::vector<double>> stacks,
                                  const std::vector<std::pair<QString, int>> &legend);

// The line style of series k: the palette pairs a dark and a light shade of each colour
// (numbers n and n + 8), which thin outlines do not tell apart; where a figure shows both shades,
// the light one is dashed (style 1), every other series solid (0).
int seriesLineStyle(const std::vector<CurveSeries> &series, size_t k);

// The depth axis title for a power of ten.
QString depthTitle(int16_t EXP);

// The candidate lists of the depth axis that every first figure sets.
const AxisLists &depthLists();

// Candidate lists of value axes that figures of several pages share: hours (0 to 100000 in 42
// ranges), rates, counts and person-hours (0 to 10000 in 32 ranges), and costs in units of
// 10^n euro (0 to 9000 in 22 ranges, the last one the limit of the cost scaling).
const AxisLists &hourLists();
const AxisLists &rateLists();
const AxisLists &costLists();

} // namespace vnt
