// The figures of the ancillary-times page as descriptions for the figure engine: per
// combination the work-related interruptions, planned breaks and standstill, stacked in that
// order, as hours (with the strip of combination numbers), hours per metre, person-hours,
// costs and costs per metre.
#include "pages/multiple/mdiMSEITE2.h"

namespace vnt {

namespace {

// Hours per metre: 0.1 to 10000 h/m in 37 ranges.
const AxisLists kHoursPerMetre{
    {0, 0.1, 0.2, 0.25, 0.5, 0.75, 1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200,
     250, 300, 400, 500, 750, 1000, 1500, 3000, 5000, 7500, 10000},
    {0.1, 0.2, 0.25, 0.5, 0.75, 1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200,
     250, 300, 400, 500, 750, 1000, 1500, 3000, 5000, 7500, 10000},
    {10, 4, 5, 5, 6, 1, 2, 3, 4, 5, 5, 3, 4, 5, 6, 7, 4, 3, 5, 3, 7, 4, 6, 5, 6, 8, 10, 9, 8, 10, 6, 10, 10, 6, 5, 5, 5},
    grafik::Liste(37, 1),
    {5, 4, 5, 5, 3, 1, 2, 3, 4, 5, 5, 3, 4, 5, 6, 7, 4, 3, 5, 3, 7, 4, 6, 5, 3, 2, 5, 3, 4, 2, 3, 2, 2, 2, 1, 1, 1},
};

// The three kinds of ancillary time, in stacking order, as every figure of the page labels them.
std::vector<CurveSeries> ancillaryLegend(std::vector<std::vector<double>> stacks)
{
    return labelled(std::move(stacks),
                    {{QStringLiteral("AUZ"), 2}, {QStringLiteral("PPZ"), 1}, {QStringLiteral("STZ"), 4}});
}

} // namespace

CurveFigure mdiMSEITE2::figure(int number)
{
    const Sums &D = D_;
    const std::vector<bool> &found = BOKOMB();
    const auto hours = [&D] { return std::vector<std::vector<float>>{D.SAUZ, D.SPPZ, D.SSTZ}; };
    const auto costs = [&D] { return std::vector<std::vector<float>>{D.SAUK, D.SPPK, D.SSTK}; };

    CurveFigure f;
    f.number = number;
    f.box = QStringLiteral("picBILD") + QString::number(number);
    f.depthFrom = 210;
    // The legend's strokes end 7 mm before the value axis ends, their labels 1 mm after them.
    f.legendFrom = 12;
    f.legendTo = 7;
    switch (number) {
    case 210:
        f.title = QStringLiteral("Zeiten");
        f.ownsDepthAxis = true;
        f.depthFrom = 0;
        f.x = hourLists();
        f.xTitle = QStringLiteral("t [h]");
        f.xFormat = QStringLiteral("#0");
        f.series = [hours, &found](const DepthAxis &) { return ancillaryLegend(stacked(hours(), found)); };
        f.then = [this](int OBJ, float XDL, float YDO) { BILD215(OBJ, XDL, YDO); };
        break;
    case 220:
        f.title = QStringLiteral("Bezogene Bohrnebenzeiten");
        f.x = kHoursPerMetre;
        f.xTitle = QStringLiteral("v [h/m]");
        f.xFormat = QStringLiteral("#0.0#");
        f.series = [hours, &found](const DepthAxis &d) {
            std::vector<std::vector<double>> stacks = stacked(hours(), found);
            perMetre(stacks, d);
            return ancillaryLegend(std::move(stacks));
        };
        break;
    case 230:
        f.title = QStringLiteral("Personenstunden");
        f.x = rateLists();
        f.xTitle = QStringLiteral("Personenstunden [P.h]");
        f.xFormat = QStringLiteral("#0");
        f.series = [&D, &found](const DepthAxis &) {
            return ancillaryLegend(stacked({D.SAUPH, D.SPPPH, D.SSTPH}, found));
        };
        break;
    case 240:
        f.title = QStringLiteral("Kosten");
        f.x = costLists();
        f.xFormat = QStringLiteral("#,##0");
        f.costScale = CurveFigure::CostScale{QStringLiteral("Kosten"), QStringLiteral("E")};
        f.series = [costs, &found](const DepthAxis &) { return ancillaryLegend(stacked(costs(), found)); };
        break;
    case 250:
        f.title = QStringLiteral("Bezogene Bohrnebenkosten");
        f.copyXFrom = 240;
        f.costScale = CurveFigure::CostScale{QStringLiteral("Kosten"), QStringLiteral("E/m")};
        f.series = [costs, &found](const DepthAxis &d) {
            std::vector<std::vector<double>> stacks = stacked(costs(), found);
            perMetre(stacks, d);
            return ancillaryLegend(std::move(stacks));
        };
        break;
    default:
        break;
    }
    return f;
}

void mdiMSEITE2::BILD210(int OBJ, float XDL, float YDO) { drawFigure(210, OBJ, XDL, YDO); }
void mdiMSEITE2::BILD220(int OBJ, float XDL, float YDO) { drawFigure(220, OBJ, XDL, YDO); }
void mdiMSEITE2::BILD230(int OBJ, float XDL, float YDO) { drawFigure(230, OBJ, XDL, YDO); }
void mdiMSEITE2::BILD240(int OBJ, float XDL, float YDO) { drawFigure(240, OBJ, XDL, YDO); }
void mdiMSEITE2::BILD250(int OBJ, float XDL, float YDO) { drawFigure(250, OBJ, XDL, YDO); }
void mdiMSEITE2::BILD215(int OBJ, float XDL, float YDO) { drawCombinationStrip(210, OBJ, XDL, YDO); }

} // namespace vnt
