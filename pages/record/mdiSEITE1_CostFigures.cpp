// Figures 15 and 16 of result page 1: the costs and the unit costs per metre over depth, in
// the breakdown the page's options choose, scaled by a power of ten.
#include "drawing/clsGRAFIK.h"
#include "pages/common/FigureDrawing.h"
#include "pages/common/PowerOfTen.h"
#include "pages/record/FigureParts.h"
#include "pages/record/mdiSEITE1.h"
#include "platform/errors.h"
#include "platform/ui.h"

namespace vnt {

using namespace page1;

namespace {

const Liste kCostMin{0, 50, 100, 200, 300, 400, 500, 750, 1000, 2000, 4000, 6000, 8000, 9000};
const Liste kCostDiff{50, 100, 200, 300, 400, 500, 750, 1000, 2000, 4000, 6000, 8000, 9000};
const Liste kCostIT{5, 10, 8, 9, 8, 10, 3, 10, 8, 8, 6, 8, 9};
const Liste kCostZL{5, 5, 4, 3, 4, 5, 3, 5, 4, 4, 3, 4, 3};

} // namespace

// ---- figures 15 and 16: costs and unit costs ---------------------------------------------------

void mdiSEITE1::staffCostNote()
{
    if (D_.K >= 1 && D_.K <= 3 && D_.KENKPG == 1) {
        ui::MsgBox(QStringLiteral("HInweis die Personalkosten sind in den Gerätekosten inkludiert,\n"
                                  "und können daher nicht explizit angezeigt werden!"),
                   ui::vbOKOnly, QStringLiteral("HINWEIS!"));
        D_.K = 0;
    }
}

void mdiSEITE1::BILD15(int OBJ, float XDL, float YDO) { costFigure(15, QStringLiteral("picBILD15"), OBJ, XDL, YDO); }
void mdiSEITE1::BILD16(int OBJ, float XDL, float YDO) { costFigure(16, QStringLiteral("picBILD16"), OBJ, XDL, YDO); }

void mdiSEITE1::costFigure(int figure, const QString &boxName, int OBJ, float XDL, float YDO)
{
    const bool jeMeter = figure == 16;
    FigureDrawing fig(*this, figure, boxName, OBJ, XDL, YDO);
    if (!fig.begin())
        return;
    clsGRAFIK *g = fig.g;
    if (D_.BONEU
        && !fig.step([&] {
               writeFrame(figure, {{"OX", 1}, {"OY", -1}, {"RL", 10}, {"RR", 5}, {"RO", 10}, {"RU", 11},
                                       {"MYMX", 0}, {"MY", MY_}, {"XMIN", 0}, {"YMIN", 0}, {"YMAX", YMAX_}});
           }))
        return;
    if (!fig.step([&] { writeFrame(figure, {{"MX", 0}, {"XMAX", 0}}); }))
        return;
    if (!fig.bindTarget())
        return;
    if (!fig.draw([&] {
            if (jeMeter) {
                const clsGRAFIK *g15 = GRAFIK(15);
                if (!g15)
                    vnt::raise(91);
                xAxis(*g, {0, -1, 1, 0, g15->ELXMIN(), g15->ELXDIFF(), g15->ELXIT(), g15->ELXGIT(), g15->ELXZL(),
                            QString(), g15->ESKZX()});
            } else {
                xAxis(*g, {0, -1, 1, 0, kCostMin, kCostDiff, kCostIT, Liste(13, 1), kCostZL, QString(),
                            QStringLiteral("#,##0")});
            }
            yAxis(*g, depthAxis(GRAFIK(11), 1, QStringLiteral("z [m]"), QStringLiteral("#0")));
            g->setEPTYP(0);
            g->setEABL(0);
            g->setEABLN(0);
        }))
        return;
    if (!fig.draw([&] { staffCostNote(); }))
        return;
    CostCurves k = jeMeter ? unitCostCurves(D_, D_.K) : costCurves(D_, D_.K);
    if (!k.titel.isEmpty() && !fig.draw([&] { g->setETEXTX(k.titel); }))
        return;
    int16_t n = 0;
    if (!fig.draw([&] {
            EXPONENT(k.summe, n, 9000);
            g->setETEXTX(g->ETEXTX() + potenzTitel(n, jeMeter ? QStringLiteral("E/m") : QStringLiteral("E")));
        }))
        return;
    if (!fig.draw([&] {
            const std::vector<double> y = toDoubles(D_.Z);
            g->SKALEN(-1, &k.summe, &y);
        }))
        return;
    if (!fig.draw([&] {
            if (jeMeter) {
                drawTitle(*g, QStringLiteral("Einheitskosten"));
                return;
            }
            static const char *const zeilen[4][2] = {
                {"Geräte und Personalkosten", nullptr},
                {"Nach Arbeitszeitanteilen", "aufgeschlüsselte Personalkosten"},
                {"Nach Arbeitszeitanteilen", "aufgeschlüsselte. Gerätekosten"},
                {"Nach Gerätetypen", "aufgeschlüsselte Gerätekosten"},
            };
            if (D_.K < 0 || D_.K > 3)
                return;
            drawTitle(*g, QString::fromUtf8(zeilen[D_.K][0]));
            if (zeilen[D_.K][1])
                drawTitle(*g, QString::fromUtf8(zeilen[D_.K][1]), 4.5);
        }))
        return;
    if (!fig.draw([&] { labelFont(*g); }))
        return;
    float xm = 0, mxw = 0;
    if (!fig.draw([&] {
            xm = readFrame(figure, "XMAX");
            mxw = readFrame(figure, "MX");
        }))
        return;
    for (size_t i = 0; i < D_.Z.size(); ++i)
        if (!fig.draw([&] { drawLine(*g, 0, D_.Z[i], xm, D_.Z[i]); }))
            return;
    std::vector<LegendRow> zeilen;
    for (CostCurve &r : k.kurven) {
        if (!fig.draw([&] {
                g->LINIENEINSTELLUNGEN(0, 0.3, paletteRgb(r.farbe));
                EXPONENT(r.werte, n, 0);
                g->setEPTYP(jeMeter ? 5 : 0);
                drawCurve(*g, r.werte, k.tiefe);
                g->setEPTYP(0);
            }))
            return;
        zeilen.push_back({r.farbe, r.legende});
    }
    drawLegend(*g, zeilen, xm - 20 * mxw, xm - 15 * mxw, mxw, 2.5 * MY_, MY_, fig);
    fig.draw([&] {
        g->SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
        g->LINIENEINSTELLUNGEN(0, 0, 0);
    });
    fig.finish();
}

} // namespace vnt
