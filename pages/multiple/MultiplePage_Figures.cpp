// The figure engine of the multiple-evaluation pages: one procedure draws every curve figure
// from its description, one the strip of combination numbers. Each runs its steps under the figure's error box: OK goes on with the next step, Cancel leaves the
// figure as far as it was drawn.
#include "pages/multiple/MultiplePage.h"

#include "drawing/clsGRAFIK.h"
#include "pages/common/FigureDrawing.h"
#include "pages/common/PowerOfTen.h"
#include "platform/Guard.h"
#include "platform/errors.h"

#include <cmath>

namespace vnt {

namespace {

void polyline(clsGRAFIK &g, const std::vector<double> &x, const std::vector<double> &y)
{
    g.POLYGON(x, y, 0, 0, 0, QString(), 0, 0, 0);
}

// Clears the ground of a legend whose strokes start at `strokeFrom` and whose texts start at
// `textFrom`, in rows from `firstRow` to `lastRow` (world coordinates), in the current font.
void clearLegendGround(clsGRAFIK &g, const std::vector<CurveSeries> &series, double strokeFrom, double textFrom,
                       double firstRow, double lastRow)
{
    Surface *t = g.EOBJEKT();
    if (!t)
        vnt::raise(91);
    double widest = 0;
    for (const CurveSeries &s : series)
        widest = std::max(widest, t->textWidth(s.label));
    double left = 0, right = 0, y1 = 0, y2 = 0;
    g.KOORDTRANS(strokeFrom, firstRow, left, y1);
    g.KOORDTRANS(textFrom, lastRow, right, y2);
    const double half = t->textHeight(QStringLiteral("X")) / 2;
    // The legend stands at the end of the value axis: its ground reaches the plot's edge there,
    // so that no stub of an outline is left between the two, and stays clear of the frame.
    double px1 = 0, py1 = 0, px2 = 0, py2 = 0;
    g.KOORDTRANS(g.XMIN(), g.YMIN(), px1, py1);
    g.KOORDTRANS(g.XMAX(), g.YMAX(), px2, py2);
    const QRectF plot = QRectF(QPointF(px1, py1), QPointF(px2, py2)).normalized().adjusted(0.2, 0.2, -0.2, -0.2);
    QRectF ground(QPointF(left - 1, std::min(y1, y2) - half - 0.2),
                  QPointF(std::max(right + widest + 0.8, plot.right()), std::max(y1, y2) + half + 0.2));
    ground = ground.intersected(plot);
    if (!ground.isEmpty())
        t->fillRect(ground, t->backColor());
}

QPointF onTarget(clsGRAFIK &g, double x, double y)
{
    double xp = 0, yp = 0;
    g.KOORDTRANS(x, y, xp, yp);
    return QPointF(xp, yp);
}

// What the strip's labels are placed against: the target, its millimetres per unit of depth,
// and the cells of the numbers under the first figure's value axis (target millimetres).
struct StripRoom {
    clsGRAFIK &g;
    Surface *t;
    double perDepth;
    const std::vector<QRectF> &numbers;
};

// Where label c stands at P: below any number it would meet.
float clearOfNumbers(const StripRoom &r, size_t c, float P)
{
    if (!r.t || !(r.perDepth > 0))
        return P;
    const QString text = QString::number(c);
    const double w = r.t->textWidth(text), h = r.t->textHeight(text);
    for (size_t tries = 0; tries <= r.numbers.size(); ++tries) {
        const QPointF at = onTarget(r.g, 2.5, P);
        const QRectF cell(at.x(), at.y() - h, w, h);
        const auto met = std::find_if(r.numbers.begin(), r.numbers.end(), [&](const QRectF &n) {
            return cell.intersects(n.adjusted(-0.2, -0.2, 0.2, 0.2));
        });
        if (met == r.numbers.end())
            break;
        P = float(P + (met->bottom() + 0.2 + h - at.y()) / r.perDepth);
    }
    return P;
}

// The depth each combination's label stands at. Labels keep 3.5 mm (ABST in depth units) apart:
// one too close to the label before it goes 3.5 mm below that, and its slanted leader still
// points at its own depth. One that would meet an axis number goes below it, and the labels
// after it keep their spacing from there.
std::vector<float> stripLabelDepths(const StripRoom &room, const std::vector<double> &SDEZ,
                                    const std::vector<bool> &found, float ABST)
{
    const size_t n = std::min(SDEZ.size(), found.size());
    std::vector<float> P(n, 0.0f);
    for (size_t c = 0; c < n; ++c) {
        if (c == 0)
            P[0] = float(SDEZ[0]);
        else if (!found[c])
            P[c] = P[c - 1];
        else if (float(SDEZ[c]) - P[c - 1] > ABST)
            P[c] = float(SDEZ[c]);
        else
            P[c] = P[c - 1] + ABST;
        if (found[c])
            P[c] = clearOfNumbers(room, c, P[c]);
    }
    return P;
}

} // namespace

void MultiplePage::EXPONENT(std::vector<double> &X, int16_t &N, float GRENZE)
{
    vnt::EXPONENT(X, N, GRENZE, exponentTitle_);
}

void MultiplePage::copyDepthAxis(clsGRAFIK &to, int firstFigure)
{
    const clsGRAFIK *first = GRAFIK(firstFigure);
    if (!first)
        vnt::raise(91);
    to.setELYMIN(first->ELYMIN());
    to.setELYDIFF(first->ELYDIFF());
    to.setELYIT(first->ELYIT());
    to.setELYGIT(first->ELYGIT());
    to.setELYZL(first->ELYZL());
    to.setETEXTY(first->ETEXTY());
    to.setESKZY(first->ESKZY());
}

void MultiplePage::withoutAxes(clsGRAFIK &g, const AxisLists &x, int depthFrom)
{
    g.setEBOXMIN(0);
    g.setEBOXMAX(0);
    g.setEAXEX(0);
    g.setESKTX(0);
    g.setELXMIN(x.min);
    g.setELXDIFF(x.diff);
    g.setELXIT(x.it);
    g.setELXGIT(x.git);
    g.setELXZL(x.zl);
    g.setETEXTX(QString());
    g.setESKZX(QString());
    g.setEBOYMIN(0);
    g.setEBOYMAX(0);
    g.setEAXEY(0);
    g.setESKTY(0);
    if (depthFrom) {
        copyDepthAxis(g, depthFrom);
    } else {
        g.setELYMIN({0, 1});
        g.setELYDIFF({1});
        g.setELYIT({1});
        g.setELYGIT({1});
        g.setETEXTY(QString());
        g.setESKZY(QString());
    }
    g.setEPTYP(0);
    g.setEABL(0);
    g.setEABLN(0);
}

// ---- curve figures --------------------------------------------------------------------------

void MultiplePage::drawCurveFigure(const CurveFigure &f, int OBJ, float XDL, float YDO)
{
    FigureDrawing fig(*this, f.number, f.box, OBJ, XDL, YDO);
    // The first figure scales the depths once after they were read; later drawings keep them.
    if (f.ownsDepthAxis && depth_.EXP == 0 && !fig.step([&] { EXPONENT(depth_.SDEZ, depth_.EXP, 100); }))
        return;
    if (!fig.begin())
        return;
    clsGRAFIK *g = fig.g;
    if (!writeCurveFrame(fig, f))
        return;
    if (!fig.bindTarget())
        return;
    if (!fig.step([&] { setCurveAxes(*g, f); }))
        return;
    std::vector<CurveSeries> series;
    if (!readCurveSeries(fig, f, series))
        return;
    float XMAX = 0, MX = 0;
    if (!drawScalesAndBandLines(fig, f, series, XMAX, MX))
        return;
    drawSeries(*g, f, series, XMAX, MX, fig.guard);
    if (fig.guard.left())
        return;
    if (!fig.step([&] {
            g->LINIENEINSTELLUNGEN(0, 0, 0);
            g->SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
        }))
        return;
    fig.finish();
    if (f.then)
        f.then(OBJ, XDL, YDO);
}

bool MultiplePage::writeCurveFrame(FigureDrawing &fig, const CurveFigure &f)
{
    // The first figure's depth range follows the data on every drawing; the later ones take
    // its scale and end, so that their bars stand at the same depths.
    if (BONEU && !fig.step([&] {
            if (f.ownsDepthAxis)
                writeFrame(f.number, {{"OX", 1}, {"OY", -1}, {"RL", 10}, {"RR", 11}, {"RO", 7}, {"RU", 11},
                                      {"MYMX", 0}, {"XMIN", 0}, {"XMAX", 0}, {"YMIN", 0}});
            else
                writeFrame(f.number, {{"OX", 1}, {"OY", -1}, {"RL", 10}, {"RR", 5}, {"RO", 7}, {"RU", 11},
                                      {"MYMX", 0}, {"XMIN", 0}, {"YMIN", 0}});
        }))
        return false;
    return fig.step([&] {
        if (f.ownsDepthAxis)
            writeFrame(f.number, {{"YMAX", 0}, {"MX", 0}, {"MY", 0}});
        else
            writeFrame(f.number, {{"MY", depth_.MY}, {"YMAX", depth_.YMAX}, {"MX", 0}, {"XMAX", 0}});
    });
}

void MultiplePage::setCurveAxes(clsGRAFIK &g, const CurveFigure &f)
{
    g.setEBOXMIN(0);
    g.setEBOXMAX(-1);
    g.setEAXEX(1);
    g.setESKTX(0);
    if (f.copyXFrom) {
        const clsGRAFIK *from = GRAFIK(f.copyXFrom);
        if (!from)
            vnt::raise(91);
        g.setELXMIN(from->ELXMIN());
        g.setELXDIFF(from->ELXDIFF());
        g.setELXIT(from->ELXIT());
        g.setELXGIT(from->ELXGIT());
        g.setELXZL(from->ELXZL());
        g.setESKZX(from->ESKZX());
    } else {
        g.setELXMIN(f.x.min);
        g.setELXDIFF(f.x.diff);
        g.setELXIT(f.x.it);
        g.setELXGIT(f.x.git);
        g.setELXZL(f.x.zl);
        if (!f.costScale)
            g.setETEXTX(f.xTitle);
        g.setESKZX(f.xFormat);
    }
    g.setEBOYMIN(0);
    g.setEBOYMAX(f.ownsDepthAxis ? -1 : 0);
    g.setEAXEY(1);
    g.setESKTY(0);
    if (f.ownsDepthAxis) {
        const AxisLists &d = depthLists();
        g.setELYMIN(d.min);
        g.setELYDIFF(d.diff);
        g.setELYIT(d.it);
        g.setELYGIT(d.git);
        g.setELYZL(d.zl);
        g.setETEXTY(depthTitle(depth_.EXP));
        g.setESKZY(QStringLiteral("#0"));
    } else {
        copyDepthAxis(g, f.depthFrom);
    }
    g.setEPTYP(0);
    g.setEABL(0);
    g.setEABLN(0);
}

bool MultiplePage::readCurveSeries(FigureDrawing &fig, const CurveFigure &f, std::vector<CurveSeries> &series)
{
    if (!fig.step([&] {
            if (f.series)
                series = f.series(depth_);
        }))
        return false;
    const size_t n = depth_.SDEZ.size();
    for (CurveSeries &s : series)
        s.values.resize(n, 0.0);
    if (series.empty())
        series.push_back({std::vector<double>(n, 0.0), QString(), 0});
    if (!f.costScale)
        return true;
    clsGRAFIK *g = fig.g;
    int16_t power = 0;
    if (!fig.step([&] {
            EXPONENT(series.back().values, power, 9000);
            g->setETEXTX(f.costScale->prefix + potenzTitel(power, f.costScale->unit));
        }))
        return false;
    for (size_t k = 0; k + 1 < series.size(); ++k)
        if (!fig.step([&] { EXPONENT(series[k].values, power, 0); }))
            return false;
    return true;
}

bool MultiplePage::drawScalesAndBandLines(FigureDrawing &fig, const CurveFigure &f,
                                          const std::vector<CurveSeries> &series, float &XMAX, float &MX)
{
    clsGRAFIK *g = fig.g;
    const size_t n = depth_.SDEZ.size();
    // A page without combinations still draws its empty frame.
    const std::vector<double> none{0};
    if (!fig.step([&] {
            const std::vector<double> &x = n ? series.back().values : none;
            const std::vector<double> &y = n ? depth_.SDEZ : none;
            g->SKALEN(-1, &x, &y);
        }))
        return false;
    if (!f.title.isEmpty() && !fig.step([&] {
            g->SCHRIFTEINSTELLUNGEN(QString(), 9, -1, 0, 0, 0);
            g->TEXT(1, 1, f.title, 2, 0, 0, 0);
        }))
        return false;
    if (!fig.step([&] { g->SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0); }))
        return false;
    if (!fig.step([&] {
            if (f.ownsDepthAxis) {
                depth_.MY = readFrame(f.number, "MY");
                depth_.YMAX = readFrame(f.number, "YMAX");
            }
            MX = readFrame(f.number, "MX");
            XMAX = readFrame(f.number, "XMAX");
        }))
        return false;
    for (size_t c = 0; c < n; ++c)
        if (!fig.step([&] { polyline(*g, {0, XMAX}, {depth_.SDEZ[c], depth_.SDEZ[c]}); }))
            return false;
    return true;
}

void MultiplePage::drawSeries(clsGRAFIK &g, const CurveFigure &f, const std::vector<CurveSeries> &series, float XMAX,
                              float MX, Guard &guard)
{
    const bool legend = series.size() > 1 || !series.front().label.isEmpty();
    if (!legend) {
        // One plain series: drawn in the hairline the axes left.
        guard.step([&] {
            g.setEPTYP(5);
            polyline(g, series.front().values, depth_.SDEZ);
        });
        return;
    }
    // Every outline first, the legend last on a cleared ground: neither the band lines nor the
    // outlines of many combinations run through its strokes and letters, on screen or paper.
    g.setEPTYP(5);
    for (size_t k = 0; k < series.size(); ++k)
        if (!guard.step([&] {
                g.LINIENEINSTELLUNGEN(int16_t(seriesLineStyle(series, k)), 0.3, paletteRgb(series[k].colour));
                polyline(g, series[k].values, depth_.SDEZ);
            }))
            return;
    g.setEPTYP(0);
    const double x1 = XMAX - f.legendFrom * MX, x2 = XMAX - f.legendTo * MX;
    const double top = 2 * depth_.MY, bottom = top + 3 * depth_.MY * double(series.size() - 1);
    if (!guard.step([&] {
            g.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
            clearLegendGround(g, series, x1, x2 + MX, top, bottom);
        }))
        return;
    double y = top;
    for (size_t k = 0; k < series.size(); ++k) {
        const CurveSeries &s = series[k];
        if (!guard.step([&] {
                g.LINIENEINSTELLUNGEN(int16_t(seriesLineStyle(series, k)), 0.3, paletteRgb(s.colour));
                polyline(g, {x1, x2}, {y, y});
                g.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
                g.TEXT(x2 + MX, y, s.label, 1, 0, 0, 1);
                y += 3 * depth_.MY;
            }))
            return;
    }
    g.setEPTYP(5);
}

// ---- strip of combination numbers -------------------------------------------------------------

void MultiplePage::drawStrip(const StripFigure &s, const std::vector<bool> &found, int OBJ, float XDL, float YDO)
{
    FigureDrawing fig(*this, s.number, s.box, OBJ, XDL, YDO);
    if (!fig.begin(false))
        return;
    clsGRAFIK *g = fig.g;
    if (!setUpStrip(fig, s))
        return;
    // The numbers under the first figure's value axis: the one at the axis' end reaches into
    // the strip, where a label pushed down that far would share its place.
    std::vector<QRectF> numbers;
    if (clsGRAFIK *first = GRAFIK(s.firstFigure); first && !fig.step([&] { numbers = first->axisNumberCells(); }))
        return;
    const StripRoom room{*g, g->EOBJEKT(), onTarget(*g, 0, 1).y() - onTarget(*g, 0, 0).y(), numbers};
    const std::vector<double> &SDEZ = depth_.SDEZ;
    const std::vector<float> P = stripLabelDepths(room, SDEZ, found, float(depth_.MY * 3.5));
    std::vector<QLineF> drawn;   // target millimetres
    for (size_t c = 0; c < P.size(); ++c) {
        if (!found[c])
            continue;
        if (!fig.step([&] {
                polyline(*g, {0, 2}, {SDEZ[c], P[c]});
                polyline(*g, {2, 5}, {P[c], P[c]});
                g->TEXT(2.5, P[c], QString::number(c), 1, 0, 0, 2);
                drawn.emplace_back(onTarget(*g, 0, SDEZ[c]), onTarget(*g, 2, P[c]));
                drawn.emplace_back(onTarget(*g, 2, P[c]), onTarget(*g, 5, P[c]));
            }))
            return;
    }
    // Labels pushed below the end of the depth axis lead their lines through the numbers under
    // the first figure's value axis; the numbers are drawn again over them to stay readable.
    if (clsGRAFIK *first = GRAFIK(s.firstFigure); first && !fig.step([&] { first->redrawNumbersCrossedBy(drawn); }))
        return;
    fig.finish();
}

bool MultiplePage::setUpStrip(FigureDrawing &fig, const StripFigure &s)
{
    clsGRAFIK *g = fig.g;
    PictureBox *box = fig.box;
    if (BONEU && !fig.step([&] {
            writeFrame(s.number, {{"OX", 1}, {"OY", -1}, {"RR", 0}, {"RO", 7}, {"RU", 11}, {"MX", 1}, {"MYMX", 0},
                                  {"XMIN", 0}, {"XMAX", 10}, {"YMIN", 0}});
        }))
        return false;
    // The strip is the first figure's right margin, wherever the box's width puts it.
    if (!fig.step([&] {
            if (!box)
                vnt::raise(91);
            writeFrame(s.number, {{"MY", depth_.MY}, {"YMAX", depth_.YMAX}, {"RL", box->sizeMm().width() - 11}});
        }))
        return false;
    if (!fig.bindTarget())
        return false;
    if (!fig.step([&] { withoutAxes(*g, {{0, 10}, {10}, {10}, {10}, {0}}, s.firstFigure); }))
        return false;
    if (!fig.step([&] { g->SKALEN(-1); }))
        return false;
    return fig.step([&] {
        g->SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
        g->LINIENEINSTELLUNGEN(0, 0, 0);
    });
}

} // namespace vnt
