// The pieces result page 1's figures are drawn from.
#include "pages/record/FigureParts.h"

#include "drawing/Surface.h"
#include "pages/common/FigureDrawing.h"
#include "platform/errors.h"

namespace vnt::page1 {

std::vector<double> toDoubles(const std::vector<float> &v) { return {v.begin(), v.end()}; }

void xAxis(clsGRAFIK &g, const Axis &a)
{
    g.setEBOXMIN(a.boMin);
    g.setEBOXMAX(a.boMax);
    g.setEAXEX(a.axe);
    g.setESKTX(a.skt);
    g.setELXMIN(a.min);
    g.setELXDIFF(a.diff);
    g.setELXIT(a.it);
    g.setELXGIT(a.git);
    g.setELXZL(a.zl);
    g.setETEXTX(a.titel);
    g.setESKZX(a.format);
}

void yAxis(clsGRAFIK &g, const Axis &a)
{
    g.setEBOYMIN(a.boMin);
    g.setEBOYMAX(a.boMax);
    g.setEAXEY(a.axe);
    g.setESKTY(a.skt);
    g.setELYMIN(a.min);
    g.setELYDIFF(a.diff);
    g.setELYIT(a.it);
    g.setELYGIT(a.git);
    g.setELYZL(a.zl);
    g.setETEXTY(a.titel);
    g.setESKZY(a.format);
}

Axis depthAxis(const clsGRAFIK *g11, int16_t axe, const QString &titel, const QString &format)
{
    if (!g11)
        vnt::raise(91);
    return {0, 0, axe, 0, g11->ELYMIN(), g11->ELYDIFF(), g11->ELYIT(), g11->ELYGIT(), g11->ELYZL(), titel, format};
}

void drawTitle(clsGRAFIK &g, const QString &text, double y)
{
    g.SCHRIFTEINSTELLUNGEN(QString(), 9, -1, 0, 0, 0);
    g.TEXT(1, y, text, 2, 0, 0, 0);
}

void labelFont(clsGRAFIK &g) { g.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0); }

void drawLine(clsGRAFIK &g, double x1, double y1, double x2, double y2)
{
    g.POLYGON({x1, x2}, {y1, y2}, 0, 0, 0, QString(), 0, 0, 0);
}

void drawCurve(clsGRAFIK &g, const std::vector<double> &x, const std::vector<double> &y)
{
    g.POLYGON(x, y, 0, 0, 0, QString(), 0, 0, 0);
}

Surface &surfaceOf(clsGRAFIK &g)
{
    if (!g.EOBJEKT())
        vnt::raise(91);
    return *g.EOBJEKT();
}

void opaqueText(clsGRAFIK &g, double x, double y, const QString &s, int16_t ko, int16_t arx, int16_t ary)
{
    Surface &t = surfaceOf(g);
    t.setFontTransparent(false);
    g.TEXT(x, y, s, ko, 0, arx, ary);
    t.setFontTransparent(true);
}

void drawLegend(clsGRAFIK &g, const std::vector<LegendRow> &zeilen, double x1, double x2, double dx, double y,
                double my, FigureDrawing &fig)
{
    for (const LegendRow &z : zeilen) {
        if (!fig.draw([&] {
                g.LINIENEINSTELLUNGEN(0, 0.3, paletteRgb(z.farbe));
                drawLine(g, x1, y, x2, y);
                g.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
                opaqueText(g, x2 + dx, y, z.text, 1, 0, 1);
                y += 3 * my;
            }))
            return;
    }
}

} // namespace vnt::page1
