// The pieces result page 1's figures are drawn from: axes in the drawing object's eleven
// settings, titles, lines and curves, texts that stay readable over curves, and the legend.
#pragma once

#include "drawing/clsGRAFIK.h"

#include <QString>
#include <vector>

namespace vnt {

class FigureDrawing;
class Surface;

namespace page1 {

using Liste = clsGRAFIK::Liste;

std::vector<double> toDoubles(const std::vector<float> &v);

// The eleven settings of one axis, in the order they are given to the drawing object.
struct Axis {
    int16_t boMin, boMax, axe, skt;
    Liste min, diff, it, git, zl;
    QString titel, format;
};
void xAxis(clsGRAFIK &g, const Axis &a);
void yAxis(clsGRAFIK &g, const Axis &a);
// A depth axis on figure 11's candidate lists.
Axis depthAxis(const clsGRAFIK *g11, int16_t axe, const QString &titel, const QString &format);

// The figure's bold title at y mm, and the font of its labels.
void drawTitle(clsGRAFIK &g, const QString &text, double y = 1);
void labelFont(clsGRAFIK &g);
void drawLine(clsGRAFIK &g, double x1, double y1, double x2, double y2);
void drawCurve(clsGRAFIK &g, const std::vector<double> &x, const std::vector<double> &y);

// The object's target; error 91 without one.
Surface &surfaceOf(clsGRAFIK &g);
// A legend or level text stays readable where curves and lines cross it: its cell is filled
// with the box's colour before the text is drawn.
void opaqueText(clsGRAFIK &g, double x, double y, const QString &s, int16_t ko, int16_t arx, int16_t ary);

// One row of a curve figure's legend: the stroke in the curve's settings and its text.
struct LegendRow {
    int farbe;
    QString text;
};
// The legend rows of a curve figure, drawn after all its curves so that no curve crosses
// them: the rows start at y and lie 3 mm apart; the stroke runs from x1 to x2 and the text
// begins 1 mm (dx) right of it. Each row is one step of the figure's drawing.
void drawLegend(clsGRAFIK &g, const std::vector<LegendRow> &zeilen, double x1, double x2, double dx, double y,
                double my, FigureDrawing &fig);

} // namespace page1

} // namespace vnt
