// The figures of the additional-costs page as descriptions for the figure engine: the
// additional costs (with the strip of combination numbers), the number of additional
// measures, the cost of one measure and the costs per metre, each stacked by device type
// T, V, L, F over the common depth axis of the combinations.
#include "pages/multiple/mdiMSEITE3.h"

namespace vnt {

namespace {

// Additional costs in units of 10^n euro: 0 to 9000 in 13 ranges, never less than 50.
const AxisLists kCosts{
    {0, 50, 100, 200, 300, 400, 500, 750, 1000, 2000, 4000, 6000, 8000, 9000},
    {50, 100, 200, 300, 400, 500, 750, 1000, 2000, 4000, 6000, 8000, 9000},
    {5, 10, 8, 9, 8, 10, 3, 10, 8, 8, 6, 8, 9},
    grafik::Liste(13, 1),
    {5, 5, 4, 3, 4, 5, 3, 5, 4, 4, 3, 4, 3},
};

// Costs per measure in units of 10^n euro: 0 to 9000 in 16 ranges.
const AxisLists kPerMeasure{
    {0, 5, 10, 25, 50, 100, 200, 300, 400, 500, 750, 1000, 2000, 4000, 6000, 8000, 9000},
    {5, 10, 25, 50, 100, 200, 300, 400, 500, 750, 1000, 2000, 4000, 6000, 8000, 9000},
    {5, 10, 5, 5, 10, 8, 9, 8, 10, 3, 10, 8, 8, 6, 8, 9},
    grafik::Liste(16, 1),
    {5, 5, 5, 5, 5, 4, 3, 4, 5, 3, 5, 4, 4, 3, 4, 3},
};

// The legend of every figure: carrier rig, casing, cutting tool, conveying tool.
const std::vector<std::pair<QString, int>> kDevices{
    {QStringLiteral("T"), 10}, {QStringLiteral("V"), 2}, {QStringLiteral("L"), 1}, {QStringLiteral("F"), 4}};

// The numbers of additional measures, in the same order.
std::vector<std::vector<int32_t>> countsOf(const mdiMSEITE3::Sums &D)
{
    return {D.ANZKT, D.ANZKV, D.ANZKL, D.ANZKF};
}

} // namespace

CurveFigure mdiMSEITE3::figure(int number)
{
    const Sums &D = D_;
    const std::vector<bool> &found = BOKOMB();
    const std::vector<std::vector<float>> costs{D.SZKT, D.SZKV, D.SZKL, D.SZKF};
    CurveFigure f;
    f.number = number;
    f.box = QStringLiteral("picBILD") + QString::number(number);
    f.depthFrom = 310;
    f.legendFrom = 12;
    f.legendTo = 7;
    switch (number) {
    case 310:
        f.title = QStringLiteral("Zusatzkosten");
        f.ownsDepthAxis = true;
        f.depthFrom = 0;
        f.x = kCosts;
        f.xFormat = QStringLiteral("#,##0");
        f.costScale = CurveFigure::CostScale{QStringLiteral("Kosten"), QStringLiteral("E")};
        f.series = [costs, &found](const DepthAxis &) { return labelled(stacked(costs, found), kDevices); };
        f.then = [this](int OBJ, float XDL, float YDO) { BILD315(OBJ, XDL, YDO); };
        break;
    case 320:
        f.title = QStringLiteral("Anzahl der Zusatzmaßnahmen");
        f.x = rateLists();
        f.xTitle = QStringLiteral("Anzahl [n]");
        f.xFormat = QStringLiteral("#0");
        f.series = [&D, &found](const DepthAxis &) {
            // Summed wider than the counts themselves: no number of measures wraps or fails.
            return labelled(stackedIn<int64_t>(countsOf(D), found), kDevices);
        };
        break;
    case 340:
        f.title = QStringLiteral("Kosten pro Zusatzmaßnahme");
        f.x = kPerMeasure;
        f.xFormat = QStringLiteral("#,##0");
        f.costScale = CurveFigure::CostScale{QStringLiteral("Kosten"), QStringLiteral("E/n")};
        f.series = [&D, costs, &found](const DepthAxis &) {
            // A cost of a type without a counted measure has no cost per measure.
            const auto counts = countsOf(D);
            std::vector<std::vector<float>> perMeasure(4, std::vector<float>(found.size(), 0.0f));
            for (size_t k = 0; k < counts.size(); ++k)
                for (size_t c = 0; c < found.size() && c < costs[k].size() && c < counts[k].size(); ++c)
                    perMeasure[k][c] = float(ratio(costs[k][c], float(counts[k][c])));
            return labelled(stacked(perMeasure, found), kDevices);
        };
        break;
    case 350:
        f.title = QStringLiteral("Zussatzkosten pro Meter");
        f.x = costLists();
        f.xFormat = QStringLiteral("#,##0");
        f.costScale = CurveFigure::CostScale{QStringLiteral("Kosten"), QStringLiteral("E/m")};
        f.series = [costs, &found](const DepthAxis &d) {
            // Per metre of the combination's own length, not of the depth it ends at.
            std::vector<std::vector<double>> stacks = stacked(costs, found);
            perMetre(stacks, d);
            return labelled(std::move(stacks), kDevices);
        };
        break;
    default:
        break;
    }
    return f;
}

void mdiMSEITE3::BILD310(int OBJ, float XDL, float YDO) { drawFigure(310, OBJ, XDL, YDO); }
void mdiMSEITE3::BILD320(int OBJ, float XDL, float YDO) { drawFigure(320, OBJ, XDL, YDO); }
void mdiMSEITE3::BILD340(int OBJ, float XDL, float YDO) { drawFigure(340, OBJ, XDL, YDO); }
void mdiMSEITE3::BILD350(int OBJ, float XDL, float YDO) { drawFigure(350, OBJ, XDL, YDO); }
void mdiMSEITE3::BILD315(int OBJ, float XDL, float YDO) { drawCombinationStrip(310, OBJ, XDL, YDO); }

} // namespace vnt
