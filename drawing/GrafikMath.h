// The geometry of the figures as plain functions: automatic axes, scale factors, direction
// angles, segment clipping and the quadrant bookkeeping of clipped arcs. They know nothing
// of targets or tables, so the drawing object and the tests share one implementation.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <vector>

namespace vnt::grafik {

using Liste = std::vector<double>;   // a candidate list; empty = "not an array"

constexpr double PI_S = 3.1415927;       // pi as the program's single-precision constant
constexpr double HALBPI_S = 1.5707964;
constexpr double GRAD = 0.017453292;     // degrees to radians

// Decimal logarithm; 0 for values <= 0 (and for anything not finite).
double LOG10(double x);

// Limits, range and ticks of one axis from its data and candidate lists. Non-finite data
// values are left out. Raises VbError 11 for an interval count of 0 and 9 for a list that is
// too short for the chosen candidate.
struct Achse {
    double MIN = 0, MAX = 0;
    std::vector<double> TICKS;      // tick positions (decimal logarithms on a log axis)
    std::vector<double> GITTER;     // grid positions on a log axis
    int IT = 0, GITTERANZAHL = 0, GIT = 0, ZL = 0;
};
void SKALENAUTOMATIK(int NR, int BOMIN, int BOMAX, int SKT, const std::vector<double> &DATEN, Achse &a,
                     const Liste &LMIN, const Liste &LDIFF, const Liste &LIT, const Liste &LGIT, const Liste &LZL);

// Scale factors in world units per millimetre; raises VbError 11 for a zero divisor.
void MASSSTAB(double XMIN, double XMAX, double YMIN, double YMAX, double ELX, double ELY, double RL, double RR,
              double RU, double RO, double MYMX, double &MX, double &MY);

// Direction of the step from (x1, y1) to (x2, y2) in degrees, 0 <= W < 360.
double RICHTUNGSWINKEL(double x1, double y1, double x2, double y2);

// Rounds to 6 decimals (the edges and end points of clipped segments).
double rund6(double v);

// Cuts the segment a-b to the rectangle (edges included). False when nothing of it is inside.
bool clipSegment(QPointF &a, QPointF &b, const QRectF &r);

// Quadrant slots of a clipped arc: index 1..4 for quadrants, slot 1..2.
struct Quadranten {
    std::array<bool, 5> aktiv{};
    std::array<std::array<bool, 5>, 3> teil{};
    std::array<std::array<double, 5>, 3> anfang{};
    std::array<std::array<double, 5>, 3> ende{};
};
void BOGENQUADRANTEN(int von, int bis, bool ganz, Quadranten &q);
// Narrows quadrant `quadrant`'s slots at the named edges ("XMIN" left, "XMAX" right, "YMIN"
// upper, "YMAX" lower). Raises VbError 5 for an edge the circle does not reach.
void BOGENGRENZEN(int quadrant, Quadranten &q, double MPX, double MPY, double R, const std::array<QString, 2> &namen,
                  double XL, double XR, double YO, double YU);
// Cuts the quadrant slots of one piece of an arc to the figure rectangle (edges included): by
// where the centre lies, drops the quadrants that cannot reach the figure and narrows each
// other one with BOGENGRENZEN at the edges its arc crosses. Within one quadrant the arc runs
// monotonically in x and y, so each edge cuts it at one end only.
void clipArcQuadrants(Quadranten &q, double MPX, double MPY, double R, double XL, double XR, double YO, double YU);

// The points selected by PSIT / PNR codes among n points.
std::vector<int> auswahl(int code, int n);

} // namespace vnt::grafik
