// The figures of the first multiple-evaluation page as descriptions for the figure engine:
// drilling time (with the strip of combination numbers), advance rate, person-hours, costs
// and unit costs over the common depth axis; and the table of the combinations with the
// note on gross or net values.
#include "pages/multiple/mdiMSEITE1.h"

#include "drawing/clsGRAFIK.h"
#include "pages/common/FigureDrawing.h"
#include "platform/errors.h"

namespace vnt {

namespace {

using multiple::Sums;

// One value per combination, 0 where the combination found no section.
std::vector<double> perCombination(const std::vector<Sums> &sums, const std::function<double(size_t, const Sums &)> &value)
{
    std::vector<double> out(sums.size(), 0.0);
    for (size_t c = 0; c < sums.size(); ++c)
        if (sums[c].BOKOMB)
            out[c] = value(c, sums[c]);
    return out;
}

// The five cost parts carrier rig, casing, cutting tool, conveying tool and staff.
std::vector<std::vector<float>> costParts(const std::vector<Sums> &sums, bool net)
{
    std::vector<std::vector<float>> parts(5, std::vector<float>(sums.size(), 0.0f));
    for (size_t c = 0; c < sums.size(); ++c) {
        const Sums &s = sums[c];
        const float v[5] = {net ? s.SNTKT : s.SBRKT, net ? s.SNTKV : s.SBRKV, net ? s.SNTKL : s.SBRKL,
                            net ? s.SNTKF : s.SBRKF, net ? s.SNTKP : s.SBRKP};
        for (size_t k = 0; k < 5; ++k)
            parts[k][c] = v[k];
    }
    return parts;
}

std::vector<CurveSeries> costLegend(std::vector<std::vector<double>> stacks)
{
    return labelled(std::move(stacks), {{QStringLiteral("T"), 2},
                                        {QStringLiteral("V"), 9},
                                        {QStringLiteral("L"), 12},
                                        {QStringLiteral("F"), 1},
                                        {QStringLiteral("P"), 4}});
}

} // namespace

CurveFigure mdiMSEITE1::figure(int number)
{
    const std::vector<Sums> &sums = D_.sums;
    const bool net = VZ_ != 0;
    CurveFigure f;
    f.number = number;
    f.box = QStringLiteral("picBILD") + QString::number(number);
    f.depthFrom = 110;
    switch (number) {
    case 110:
        f.title = QStringLiteral("Bohrzeit");
        f.ownsDepthAxis = true;
        f.depthFrom = 0;
        f.x = hourLists();
        f.xTitle = QStringLiteral("t [h]");
        f.xFormat = QStringLiteral("#0");
        f.series = [&sums, net](const DepthAxis &) {
            return std::vector<CurveSeries>{
                {perCombination(sums, [net](size_t, const Sums &s) { return net ? s.SNTZ : s.SBRZ; }), {}, 0}};
        };
        f.then = [this](int OBJ, float XDL, float YDO) { BILD115(OBJ, XDL, YDO); };
        break;
    case 120:
        f.title = QStringLiteral("Vortriebsgeschwindigkeit");
        f.x = rateLists();
        f.xTitle = QStringLiteral("v [m/h]");
        f.xFormat = QStringLiteral("#0");
        f.series = [&sums, net](const DepthAxis &d) {
            return std::vector<CurveSeries>{{perCombination(sums,
                                                            [&d, net](size_t c, const Sums &s) {
                                                                return ratio(d.length(c), net ? s.SNTZ : s.SBRZ);
                                                            }),
                                             {}, 0}};
        };
        break;
    case 130:
        f.title = QStringLiteral("Personenstunden");
        f.x = rateLists();
        f.xTitle = QStringLiteral("Personenstunden [P.h]");
        f.xFormat = QStringLiteral("#0");
        f.series = [&sums, net](const DepthAxis &) {
            return std::vector<CurveSeries>{
                {perCombination(sums, [net](size_t, const Sums &s) { return net ? s.SNTPH : s.SBRPH; }), {}, 0}};
        };
        break;
    case 140:
        f.title = QStringLiteral("Kosten");
        f.x = costLists();
        f.xFormat = QStringLiteral("#,##0");
        f.costScale = CurveFigure::CostScale{QStringLiteral("Kosten"), QStringLiteral("E")};
        f.series = [this, &sums, net](const DepthAxis &) { return costLegend(stacked(costParts(sums, net), D_.found())); };
        break;
    case 150:
        f.title = QStringLiteral("Einheitskosten");
        f.copyXFrom = 140;
        f.costScale = CurveFigure::CostScale{QStringLiteral("Einheitskosten"), QStringLiteral("E/m")};
        f.series = [this, &sums, net](const DepthAxis &d) {
            std::vector<std::vector<double>> stacks = stacked(costParts(sums, net), D_.found());
            perMetre(stacks, d);
            return costLegend(std::move(stacks));
        };
        break;
    default:
        break;
    }
    return f;
}

void mdiMSEITE1::BILD110(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(110), OBJ, XDL, YDO); }
void mdiMSEITE1::BILD120(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(120), OBJ, XDL, YDO); }
void mdiMSEITE1::BILD130(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(130), OBJ, XDL, YDO); }
void mdiMSEITE1::BILD140(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(140), OBJ, XDL, YDO); }
void mdiMSEITE1::BILD150(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(150), OBJ, XDL, YDO); }

void mdiMSEITE1::BILD115(int OBJ, float XDL, float YDO)
{
    drawStrip(StripFigure{115, QStringLiteral("picBILD110"), 110}, D_.found(), OBJ, XDL, YDO);
}

void mdiMSEITE1::BILD160(int OBJ, float XDL, float YDO)
{
    // The figure's own frame in the box's millimetres carries the note on gross or net values;
    // the table is drawn into the same box after it.
    {
        FigureDrawing fig(*this, 160, QStringLiteral("picBILD160"), OBJ, XDL, YDO);
        if (!fig.begin())
            return;
        clsGRAFIK *g = fig.g;
        PictureBox *box = fig.box;
        const auto step = [&](const std::function<void()> &s) { return fig.step(s); };
        if (BONEU && !step([&] {
                if (!box)
                    vnt::raise(91);
                const QSizeF mm = box->sizeMm();
                writeFrame(160, {{"OX", 1}, {"OY", -1}, {"RL", 0}, {"RR", 0}, {"RO", 0}, {"RU", 0}, {"MYMX", 0},
                                 {"MX", 1}, {"MY", 1}, {"XMIN", 0}, {"XMAX", mm.width()}, {"YMIN", 0},
                                 {"YMAX", mm.height()}});
            }))
            return;
        if (!fig.bindTarget())
            return;
        if ((OBJ == 0 || OBJ == 1) && !step([&] { g->setEYBALKEN(scrollBar(QStringLiteral("vscBILD160"))); }))
            return;
        if (!step([&] { withoutAxes(*g, {{0, 1}, {1}, {1}, {1}, {1}}, 0); }))
            return;
        if (!step([&] { g->SKALEN(-1); }))
            return;
        if (!step([&] {
                if (!box)
                    vnt::raise(91);
                const QSizeF mm = box->sizeMm();
                g->SCHRIFTEINSTELLUNGEN(QString(), 10, -1, 0, 0, 0);
                g->TEXT(mm.width() - 7, mm.height() - 2,
                        VZ_ == 0 ? QStringLiteral("Zeiten und Kosten sind Bruttowerte")
                                 : QStringLiteral("Zeiten und Kosten sind Nettowerte"),
                        1, 0, 2, 2);
                g->SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
            }))
            return;
    }
    drawTable(combinationTable(160, QStringLiteral("picBILD160"), QStringLiteral("vscBILD160"), D_.KOMBKOPF, D_.KOMBTAB,
                               D_.found()),
              OBJ, XDL, YDO, false);
}

} // namespace vnt
