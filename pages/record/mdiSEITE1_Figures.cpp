// The figures of result page 1 over depth and its legend: profile, drilling time, advance rate
// with crew. Each draws through one drawing object on its picture box or on the sheet; the
// depth figures share the depth scale that the profile found. The cost figures are drawn in
// mdiSEITE1_CostFigures.cpp.
#include "drawing/Markup.h"
#include "drawing/clsGRAFIK.h"
#include "pages/common/FigureDrawing.h"
#include "pages/record/FigureParts.h"
#include "pages/record/mdiSEITE1.h"
#include "platform/NumberFormat.h"
#include "platform/errors.h"

#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace vnt {

using namespace page1;

namespace {

// Depth and time axes: range candidates with their tick and numbering intervals.
const Liste kDepthMin{0, 1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100};
const Liste kDepthDiff{1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100};
const Liste kDepthIT{1, 2, 3, 4, 5, 5, 3, 4, 5, 6, 7, 4, 3, 5, 3, 7, 4, 6, 5};
const Liste kOnes19(19, 1);

const Liste kRateMin{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 18, 20, 25, 30, 40, 50, 75, 100};
const Liste kRateDiff{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 18, 20, 25, 30, 40, 50, 75, 100};
const Liste kRateIT{5, 4, 6, 4, 5, 6, 7, 4, 6, 5, 11, 6, 7, 5, 8, 6, 5, 5, 6, 8, 10, 5, 10};
const Liste kRateZL{5, 4, 3, 4, 5, 3, 1, 4, 3, 5, 1, 3, 2, 5, 4, 3, 5, 5, 3, 4, 5, 5, 5};

const Liste kPersonMin{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 15, 16, 18, 20, 25, 30, 35, 40, 45, 50, 55, 60,
                       65, 70, 75, 100, 150, 300, 500, 750, 1000};
const Liste kPersonDiff{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 15, 16, 18, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65,
                        70, 75, 100, 150, 300, 500, 750, 1000};
const Liste kPersonIT{1, 2, 3, 4, 5, 6, 7, 4, 3, 5, 6, 7, 5, 8, 6, 5, 5, 6, 7, 8, 9, 10, 11, 6, 13, 7, 5, 10, 6,
                      6, 5, 5, 10};
const Liste kPersonZL{1, 2, 3, 4, 5, 6, 7, 4, 3, 5, 3, 7, 5, 4, 3, 5, 5, 3, 1, 4, 1, 5, 1, 3, 1, 1, 5, 4, 3,
                      3, 2, 3, 2};

int16_t bo(bool b) { return b ? -1 : 0; }

// A key wider than its column is drawn narrower, so that it ends before the next column's text;
// it still begins where its column begins. Glyphs narrowed further than to 60 % are hard to
// read: beyond that the key is set in a smaller size instead, never left out.
void columnText(clsGRAFIK &g, double x, double y, const QString &s, int16_t ko, int16_t ary, double breite)
{
    Surface &t = surfaceOf(g);
    const FontSpec vorher = t.font();
    const QString gemessen = markup::measuringCopy(s);
    const double w = measureTextMm(vorher, gemessen).width();
    const int groesse = int(std::lround(vorher.size));
    int kleiner = groesse;
    double stretch = 1;
    if (w > breite) {
        stretch = std::max(0.6, breite / w);
        FontSpec f = vorher;
        f.stretch = stretch;
        for (; kleiner > 3 && measureTextMm(f, gemessen).width() > breite; f.size = --kleiner) {
        }
    }
    const int16_t fett = vorher.bold ? -1 : 0;
    if (kleiner != groesse)
        g.SCHRIFTEINSTELLUNGEN(QString(), int16_t(kleiner), fett, 0, 0, 0);
    FontSpec f = t.font();
    f.stretch = stretch;
    t.setFont(f);
    g.TEXT(x, y, s, ko, 0, 0, ary);
    if (kleiner != groesse)
        g.SCHRIFTEINSTELLUNGEN(QString(), int16_t(groesse), fett, 0, 0, 0);
    t.setFont(vorher);
}

// The largest label size up to `groesse` points whose text is no taller than `hoehe` mm; 3
// points at the least.
int16_t labelSize(const FontSpec &font, int groesse, double hoehe)
{
    FontSpec f = font;
    for (f.size = groesse; f.size > 3 && measureTextMm(f, QStringLiteral("0,00")).height() > hoehe; f.size -= 1) {
    }
    return int16_t(f.size);
}

// The legend as the sheet holds it: the factor its rows below the title move closer by, and
// the last device and rock rows it shows.
struct LegendenBlatt {
    double faktor;
    int UBK, UBR;
};

// Rows 3 mm apart from 7 mm down, the last (the fourth cost row) 3 mm tall at B + 46: a legend
// taller than the box draws its rows closer, down to half their distance; beyond that the
// lists show their first rows, each at least one.
LegendenBlatt legendenBlatt(double hoehe, int UBK, int UBR)
{
    const double raum = hoehe - 7.5;
    const auto noetig = [](int k, int r) { return 3.0 * (k + r) + 42; };
    if (3.0 * (UBK + UBR) + 50 <= hoehe)
        return {1, UBK, UBR};
    constexpr double kleinster = 0.5;
    const double faktor = raum / noetig(UBK, UBR);
    if (faktor >= kleinster)
        return {faktor, UBK, UBR};
    const int zeilen = std::max(2, int((raum / kleinster - 42) / 3) + 2);   // device and rock rows
    const int k = std::min(UBK + 1, std::max(zeilen / 2, zeilen - (UBR + 1)));
    const int r = std::min(UBR + 1, std::max(1, zeilen - k));
    return {kleinster, k - 1, r - 1};
}

} // namespace

// ---- figure 11: profile ------------------------------------------------------------------------

void mdiSEITE1::BILD11(int OBJ, float XDL, float YDO)
{
    FigureDrawing fig(*this, 11, QStringLiteral("picBILD11"), OBJ, XDL, YDO);
    if (!fig.begin())
        return;
    clsGRAFIK *g = fig.g;
    // A new evaluation may have changed the depths: the depth scale is found anew with the
    // depth limit, or the deeper part of every depth figure would run out of its box.
    if (D_.BONEU
        && !fig.step([&] {
               writeFrame(11, {{"OX", 1}, {"OY", -1}, {"RL", 10}, {"RR", 5}, {"RO", 10}, {"RU", 11}, {"MYMX", 0},
                                   {"MX", 1}, {"MY", 0}, {"XMIN", 0}, {"XMAX", 65}, {"YMIN", 0}, {"YMAX", 0}});
           }))
        return;
    if (!fig.bindTarget())
        return;
    if (!fig.draw([&] {
            xAxis(*g, {0, 0, 1, 0, {0, 65}, {65}, {1}, {1}, {0}, QString(), QStringLiteral("#")});
            yAxis(*g, {0, bo(D_.BONEU), 1, 0, kDepthMin, kDepthDiff, kDepthIT, kOnes19, kDepthIT,
                        QStringLiteral("z [m]"), QStringLiteral("#0")});
            g->setEPTYP(0);
            g->setEABL(0);
            g->setEABLN(0);
        }))
        return;
    if (!fig.draw([&] {
            const std::vector<double> x{0, 65}, y = toDoubles(D_.Z);
            g->SKALEN(-1, &x, &y);
        }))
        return;
    if (!fig.draw([&] {
            MY_ = readFrame(11, "MY");
            YMAX_ = readFrame(11, "YMAX");
        }))
        return;
    if (!fig.draw([&] { drawTitle(*g, QStringLiteral("Profil")); }) || !fig.draw([&] { labelFont(*g); }))
        return;
    if (!fig.draw([&] {
            const char *koepfe[] = {"KENG", "KENT", "KENV", "KENL", "KENF"};
            for (int c = 0; c < 5; ++c)
                g->TEXT(27 + 10 * c, 2, QString::fromLatin1(koepfe[c]), 2, 0, 0, 0);
        }))
        return;
    if (D_.NN != 0
        && !fig.draw([&] {
               g->TEXT(57.5, 5.5, QStringLiteral("NN = ") + Format(D_.NN, QStringLiteral("##0.00")) + QStringLiteral(" m"),
                       2, 0, 0, 0);
               g->KOTENDREIECK(49, 0, 1.5 * MY_, 0, 0, 0);
           }))
        return;
    // Every boundary is labelled inside the plot, down to the axis' last depth; where the
    // labels crowd, they share the plot's height and their text is set smaller to fit.
    ProfileDepths t;
    if (!fig.draw([&] {
            const double plotEnde = g->YMIN() + (g->ELY() - g->RO() - g->RU()) * g->MY();
            t = profileDepths(D_.Z, MY_, std::min(g->YMAX(), plotEnde));
            const int16_t groesse = MY_ > 0 ? labelSize(surfaceOf(*g).font(), 7, t.abstand / MY_) : 7;
            if (groesse != 7)
                g->SCHRIFTEINSTELLUNGEN(QString(), groesse, 0, 0, 0, 0);
        }))
        return;
    if (!fig.draw([&] { drawLine(*g, 15, 0, 15, D_.SUMDEZ); }))
        return;
    for (size_t i = 0; i < t.grenze.size(); ++i) {
        const double l = t.beschriftung[i], b = t.grenze[i];
        if (!fig.draw([&] {
                drawLine(*g, 0, l, 13.5, l);
                drawLine(*g, 13.5, l, 15, b);
                drawLine(*g, 15, b, 16.5, l);
                drawLine(*g, 16.5, l, 65, l);
                g->TEXT(13, l, Format(b, QStringLiteral("##0.00")), 1, 0, 2, 2);
                if (i > 0) {
                    const size_t s = i - 1;
                    const QString *keys[] = {&D_.KENG[s], &D_.KENT[s], &D_.KENV[s], &D_.KENL[s], &D_.KENF[s]};
                    // Each column is 10 mm wide; the last ends at the figure's edge.
                    for (int c = 0; c < 5; ++c)
                        columnText(*g, 17 + 10 * c, l, *keys[c], 1, 2, c < 4 ? 9.5 : 12.5);
                }
            }))
            return;
    }
    if (!fig.draw([&] { labelFont(*g); }))
        return;
    if (D_.BOZGW
        && !fig.draw([&] {
               const double d = double(D_.NN - D_.ZGW);
               g->LINIENEINSTELLUNGEN(0, 0, paletteRgb(9));
               drawLine(*g, 0, d, 15, d);
               opaqueText(*g, 1, d - 4.5 * MY_, Format(d, QStringLiteral("##0.00")) + QStringLiteral("m"), 1, 0, 0);
               g->KOTENDREIECK(5, d, 1.5 * MY_, 0, 1, 0);
           }))
        return;
    fig.finish();
}

// ---- figure 12: drilling time over depth -------------------------------------------------------

void mdiSEITE1::BILD12(int OBJ, float XDL, float YDO)
{
    FigureDrawing fig(*this, 12, QStringLiteral("picBILD12"), OBJ, XDL, YDO);
    if (!fig.begin())
        return;
    clsGRAFIK *g = fig.g;
    if (D_.BONEU
        && !fig.step([&] {
               writeFrame(12, {{"OX", 1}, {"OY", -1}, {"RL", 10}, {"RR", 5}, {"RO", 10}, {"RU", 11}, {"MYMX", 0},
                                   {"MX", 0}, {"MY", MY_}, {"XMIN", 0}, {"XMAX", 0}, {"YMIN", 0}, {"YMAX", YMAX_}});
           }))
        return;
    if (!fig.bindTarget())
        return;
    if (!fig.draw([&] {
            xAxis(*g, {0, bo(D_.BONEU), 1, 0, kDepthMin, kDepthDiff, kDepthIT, kOnes19, kDepthIT,
                        QStringLiteral("t [h]"), QStringLiteral("#0")});
            yAxis(*g, depthAxis(GRAFIK(11), 1, QStringLiteral("z [m]"), QStringLiteral("#0")));
            g->setEPTYP(0);
            g->setEABL(0);
            g->setEABLN(0);
        }))
        return;
    const TimeCurves k = timeCurves(D_);
    if (!fig.draw([&] {
            const std::vector<double> y = toDoubles(D_.Z);
            g->SKALEN(-1, &k.brutto, &y);
        }))
        return;
    if (!fig.draw([&] { drawTitle(*g, QStringLiteral("Vortriebszeit")); }) || !fig.draw([&] { labelFont(*g); }))
        return;
    float xmax = 0, mx = 0;
    if (!fig.draw([&] {
            xmax = readFrame(12, "XMAX");
            mx = readFrame(12, "MX");
        }))
        return;
    for (size_t i = 0; i < D_.Z.size(); ++i)
        if (!fig.draw([&] { drawLine(*g, 0, D_.Z[i], xmax, D_.Z[i]); }))
            return;
    struct Reihe {
        const std::vector<double> *x;
        int farbe;
        const char *text;
    };
    std::vector<Reihe> reihen;
    if (D_.ZAUF == 1)
        reihen = {{&k.mitAUZ, 12, "AUZ"}, {&k.mitPPZ, 2, "PPZ"}, {&k.mitSTZ, 4, "STZ"}, {&k.netto, 1, "NTZ"}};
    else if (D_.ZAUF == 0)
        reihen = {{&k.netto, 1, "NTZ"}, {&k.brutto, 4, "BRZ"}};
    else
        reihen = {{&k.netto, 1, "NTZ"}};
    std::vector<LegendRow> zeilen;
    for (const Reihe &r : reihen) {
        if (!fig.draw([&] {
                g->LINIENEINSTELLUNGEN(0, 0.3, paletteRgb(r.farbe));
                drawCurve(*g, *r.x, k.tiefe);
            }))
            return;
        zeilen.push_back({r.farbe, QString::fromLatin1(r.text)});
    }
    drawLegend(*g, zeilen, xmax - 15 * mx, xmax - 10 * mx, mx, 2.5 * MY_, MY_, fig);
    fig.draw([&] {
        g->SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
        g->LINIENEINSTELLUNGEN(0, 0, 0);
    });
    fig.finish();
}

// ---- figure 13: advance rate, with figure 17 in the same frame ---------------------------------

void mdiSEITE1::BILD13(int OBJ, float XDL, float YDO)
{
    FigureDrawing fig(*this, 13, QStringLiteral("picBILD13"), OBJ, XDL, YDO);
    if (!fig.begin())
        return;
    clsGRAFIK *g = fig.g;
    if (D_.BONEU
        && !fig.step([&] {
               writeFrame(13, {{"OX", 1}, {"OY", -1}, {"RL", 10}, {"RR", 5}, {"RO", 15}, {"RU", 11},
                                   {"MYMX", 0}, {"MY", MY_}, {"XMIN", 0}, {"YMIN", 0}, {"YMAX", YMAX_}});
           }))
        return;
    if (!fig.step([&] { writeFrame(13, {{"MX", 0}, {"XMAX", 0}}); }))
        return;
    if (!fig.bindTarget())
        return;
    if (!fig.draw([&] {
            xAxis(*g, {0, -1, -1, 0, kRateMin, kRateDiff, kRateIT, Liste(23, 1), kRateZL,
                        QStringLiteral("v [m/h]"), QStringLiteral("#0.0")});
            yAxis(*g, depthAxis(GRAFIK(11), 1, QStringLiteral("z [m]"), QStringLiteral("#0")));
            g->setEABL(0);
            g->setEABLN(0);
        }))
        return;
    const AdvanceRates v = advanceRates(D_);
    if (!fig.draw([&] {
            const std::vector<double> y = toDoubles(D_.Z);
            g->SKALEN(-1, &v.netto, &y);
        }))
        return;
    if (!fig.draw([&] { drawTitle(*g, QStringLiteral("Vortriebsgeschwindigkeit / Personal")); })
        || !fig.draw([&] { labelFont(*g); }))
        return;
    float xmax = 0, mx = 0;
    if (!fig.draw([&] {
            xmax = readFrame(13, "XMAX");
            mx = readFrame(13, "MX");
        }))
        return;
    for (size_t i = 0; i < D_.Z.size(); ++i)
        if (!fig.draw([&] { drawLine(*g, 0, D_.Z[i], xmax, D_.Z[i]); }))
            return;
    const std::pair<const std::vector<double> *, int> reihen[] = {{&v.brutto, 4}, {&v.netto, 1}};
    for (const auto &[werte, farbe] : reihen) {
        if (!fig.draw([&] {
                g->LINIENEINSTELLUNGEN(0, 0.3, paletteRgb(farbe));
                g->setEPTYP(5);
                drawCurve(*g, *werte, v.tiefe);
                g->setEPTYP(0);
            }))
            return;
    }
    // The crew shares the frame; its curve comes before the legend, which stays on top.
    BILD17(OBJ, XDL, YDO);
    drawLegend(*g, {{4, QStringLiteral("Brutto")}, {1, QStringLiteral("Netto")}}, xmax - 15 * mx, xmax - 10 * mx, mx,
            2.5 * MY_, MY_, fig);
    fig.draw([&] {
        g->SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
        g->LINIENEINSTELLUNGEN(0, 0, 0);
    });
    fig.finish();
}

void mdiSEITE1::BILD17(int OBJ, float XDL, float YDO)
{
    FigureDrawing fig(*this, 17, QStringLiteral("picBILD13"), OBJ, XDL, YDO);
    if (!fig.begin(false))
        return;
    clsGRAFIK *g = fig.g;
    if (D_.BONEU
        && !fig.step([&] {
               writeFrame(17, {{"OX", 1}, {"OY", -1}, {"RL", 10}, {"RR", 5}, {"RO", 15}, {"RU", 11}, {"MYMX", 0},
                                   {"MX", 0}, {"MY", MY_}, {"XMIN", 0}, {"XMAX", 0}, {"YMIN", 0}, {"YMAX", YMAX_}});
           }))
        return;
    if (!fig.bindTarget())
        return;
    if (!fig.draw([&] {
            xAxis(*g, {0, bo(D_.BONEU), 1, 0, kPersonMin, kPersonDiff, kPersonIT, Liste(33, 1), kPersonZL,
                        QStringLiteral("Personen [-]"), QStringLiteral("#0")});
            yAxis(*g, depthAxis(GRAFIK(11), 0, QString(), QString()));
            g->setEABL(0);
            g->setEABLN(0);
        }))
        return;
    std::vector<double> tiefe(D_.Z.size() + 1, 0.0), personen(D_.Z.size() + 1, 0.0);
    for (size_t i = 1; i < tiefe.size(); ++i) {
        tiefe[i] = D_.Z[i - 1];
        personen[i] = D_.PER[i - 1];
    }
    if (!fig.draw([&] { g->SKALEN(-1, &personen, &tiefe); }))
        return;
    float xmax = 0;
    if (!fig.draw([&] { xmax = readFrame(17, "XMAX"); }))
        return;
    if (!fig.draw([&] {
            g->LINIENEINSTELLUNGEN(2, 0.5, paletteRgb(2));
            g->setEPTYP(5);
            drawCurve(*g, personen, tiefe);
            g->setEPTYP(0);
        }))
        return;
    if (!fig.draw([&] { drawLine(*g, 0, YMAX_, xmax, YMAX_); }))
        return;
    fig.draw([&] { g->LINIENEINSTELLUNGEN(0, 0, 0); });
    fig.finish();
}

// ---- figure 14: legend -------------------------------------------------------------------------

void mdiSEITE1::BILD14(int OBJ, float XDL, float YDO)
{
    FigureDrawing fig(*this, 14, QStringLiteral("picBILD14"), OBJ, XDL, YDO);
    if (!fig.begin())
        return;
    clsGRAFIK *g = fig.g;
    if (D_.BONEU
        && !fig.step([&] {
               const double breite = fig.box ? fig.box->sizeMm().width() : 0.0;
               writeFrame(14, {{"OX", 1}, {"OY", -1}, {"RL", 0}, {"RR", 5}, {"RO", 0}, {"RU", 0}, {"MYMX", 0},
                                   {"MX", 1}, {"MY", 1}, {"XMIN", 0}, {"XMAX", breite}, {"YMIN", 0}});
           }))
        return;
    if (!fig.bindTarget())
        return;
    // Paper has no scroll bar: the sheet takes the whole legend from its top, whatever part the
    // screen has scrolled into view.
    if (OBJ != 1 && !fig.draw([&] { g->setEYBALKEN(scrollBar(QStringLiteral("vscBILD14"))); }))
        return;
    if (!fig.draw([&] {
            xAxis(*g, {0, 0, 0, 0, {0, 1}, {1}, {1}, {1}, {0}, QString(), QStringLiteral("#")});
            // No candidate lists on the y axis: the legend's height is its rows', not a depth
            // range rounded to the profile's candidates and cut at 100 mm.
            yAxis(*g, {0, 0, 0, 0, {}, {}, {}, {}, {}, QString(), QStringLiteral("#0")});
            g->setEPTYP(0);
            g->setEABL(0);
            g->setEABLN(0);
        }))
        return;
    const LegendList geraete = equipmentLegend(D_), gesteine = rockLegend(D_);
    const int UBK = int(geraete.schluessel.size()) - 1, UBR = int(gesteine.schluessel.size()) - 1;
    if (!fig.step([&] { writeFrame(14, {{"YMAX", 3 * (UBK + UBR) + 50}}); }))
        return;
    const LegendenBlatt blatt = OBJ == 1 && fig.box ? legendenBlatt(fig.box->sizeMm().height(), UBK, UBR)
                                                    : LegendenBlatt{1, UBK, UBR};
    // On the sheet the rows below the title move closer together where the legend is taller
    // than its box, so that every row, the additional costs included, reaches paper.
    const auto zeile = [&](double y) { return 7 + (y - 7) * blatt.faktor; };
    const double B = 3 * (blatt.UBK + blatt.UBR);
    if (!fig.draw([&] { g->SKALEN(0); }))
        return;
    if (!fig.draw([&] { drawTitle(*g, QStringLiteral("Legende")); }) || !fig.draw([&] { labelFont(*g); }))
        return;
    if (blatt.faktor < 1
        && !fig.draw([&] { g->SCHRIFTEINSTELLUNGEN(QString(), labelSize(surfaceOf(*g).font(), 7, 3 * blatt.faktor), 0, 0, 0, 0); }))
        return;
    const auto text = [&](double x, double y, const QString &s, int16_t arx = 0) {
        return fig.draw([&] { g->TEXT(x, zeile(y), s, 2, 0, arx, 0); });
    };
    // A key ends before its comment, 14 mm to the right.
    const auto schluessel = [&](double y, const QString &s) {
        return fig.draw([&] { columnText(*g, 19, zeile(y), s, 2, 0, 13.5); });
    };
    // Where not even the closer rows fit, a list shows its first rows and says so below its
    // label.
    const auto auszug = [&](double y, int gezeigt, int alle) {
        return gezeigt == alle || text(1, y + 3, QStringLiteral("(1 bis %1 von %2)").arg(gezeigt).arg(alle));
    };
    for (int n = 0; n <= blatt.UBK; ++n) {
        const double y = 7 + 3 * n;
        if ((n == 0 && !text(1, y, QStringLiteral("Geräte:"))) || (n == 0 && !auszug(y, blatt.UBK + 1, UBK + 1))
            || !schluessel(y, geraete.schluessel[size_t(n)])
            || !text(33, y, legendComment(geraete.kommentar[size_t(n)])))
            return;
    }
    for (int n = 0; n <= blatt.UBR; ++n) {
        const double y = 12 + 3 * blatt.UBK + 3 * n;
        if ((n == 0 && !text(1, y, QStringLiteral("Gesteine:"))) || (n == 0 && !auszug(y, blatt.UBR + 1, UBR + 1))
            || !schluessel(y, gesteine.schluessel[size_t(n)])
            || !text(33, y, legendComment(gesteine.kommentar[size_t(n)])))
            return;
    }
    const std::pair<double, const char *> zeiten[] = {
        {17, "AUZ: Arbeitsbedingte Unterbrechungszeiten"},
        {20, "PPZ: Planmäßige Pausenzeiten"},
        {23, "STZ: reparatur-, wetter- und organisatorisch"},
        {26, "        bedingte Stillstandszeiten"},
        {29, "NTZ: Nettoarbeitszeiten"},
        {32, "BRZ: Bruttoarbeitszeiten"},
    };
    if (!text(1, B + 17, QStringLiteral("Arbeitszeiten:")))
        return;
    for (const auto &[dy, s] : zeiten)
        if (!text(19, B + dy, QString::fromUtf8(s)))
            return;
    if (!text(1, B + 37, QStringLiteral("Zusatzkosten:")))
        return;
    const std::tuple<double, const char *, float> kosten[] = {
        {37, "Trägergerät: ", D_.SUMZKT},
        {40, "Verrohrung:", D_.SUMZKV},
        {43, "Lösewerkzeug:", D_.SUMZKL},
        {46, "Förderwerkzeug:", D_.SUMZKF},
    };
    for (const auto &[dy, s, wert] : kosten)
        if (!text(19, B + dy, QString::fromUtf8(s))
            || !text(65, B + dy, Format(wert, QStringLiteral("###,###,##0.00")) + QStringLiteral(" [E]"), 2))
            return;
    fig.draw([&] { g->SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0); });
    fig.finish();
}

} // namespace vnt
