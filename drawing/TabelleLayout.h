// The arithmetic of a drawn table: block heights, rules, spanned head cells, decimal-point
// placement and the choice of body rows under a scroll bar. Plain functions in millimetres,
// so that the screen, the paper and the tests all lay a table out the same way.
#pragma once

#include "platform/Variant.h"

#include <QList>
#include <QString>
#include <functional>

namespace vnt::tabelle {

// Height of a block whose first text line is h high and which has `rowsAfterFirst` more lines
// at the pitch p, with the inner spacing above the first and below the last line.
double blockHeight(double h, double erz, double pitch, int rowsAfterFirst);

// A vertical rule of the head block: where it starts and how long it is.
struct VRule {
    double start = 0;
    double length = 0;
};
// k = number of head rows (from the top) the rule leaves out, r = number of head rows.
VRule headRule(double y0, double headHeight, double h, double erz, int k, int r);

// One drawn head cell: the first column it covers, its left edge from the table's left edge
// and the width of all columns it spans.
struct HeadCell {
    int column = 0;
    double left = 0;
    double width = 0;
};
// A head cell runs on to the right until a separator whose rule is present in this row;
// leaveOut(i) is the number of head rows the rule at separator i leaves out (it may raise).
QList<HeadCell> headCells(const QList<double> &widths, const std::function<int(int)> &leaveOut, int row);

// Position (from 1) of the first decimal sign in a formatted number, 0 when it has none.
int decimalSignPosition(const QString &text);
// How far left of the column's centre line the decimal point of the pattern lies, in mm.
// An empty pattern has no point to align on: division by zero, as the caller reports it.
double decimalShift(const QString &pattern, double columnWidth);

// The text of a body or foot cell under its column's format pattern. Texts that are not
// numbers stay as they are (a "*" in a cost column), Empty and Null give nothing.
QString formatCell(const Variant &value, const QString &pattern);

// ---- body rows under a scroll bar ------------------------------------------------------
struct BodyGeometry {
    double h = 0;      // text height of "X"
    double pitch = 0;  // h * EZA
    double erz = 0;
    double ero = 0;
    double eru = 0;
    double headHeight = 0;
    int rows = 0;      // rows of the body cell block
};

struct RowSelection {
    int EEZ = 0;
    int ELZ = 0;
    double height = 0; // body block height
};

// Index (from the first shown row) of the last row whose text line stays above `limit`,
// measured from the top of the target. At least 0: the first row is always shown.
int lastFittingRow(const BodyGeometry &g, double limit);
// Scroll position as a fraction of the range, rounded to three decimals; a bar without a
// range counts as at its top.
double scrollFraction(int value, int min, int max);
// First shown row for a fraction of the rows that do not fit.
int firstShownRow(double fraction, int rows, int lastFitting);

// Selection and height of a body drawn without a scroll bar (a caller's EEZ/ELZ bounded).
RowSelection unscrolledRows(const BodyGeometry &g, int eez, int elz);

// Where the scroll bar goes when the body does not fit its picture box (mm on the box).
struct BarLayout {
    double top = 0, left = 0, width = 5, height = 0;
    int min = 0, max = 10000, largeChange = 2000, smallChange = 300;
};
BarLayout barLayout(const BodyGeometry &g, double erl, double tableWidth, double boxHeight);
// True when the whole body fits the box and the scroll bar is not needed.
bool bodyFits(const BodyGeometry &g, double boxHeight);

// Rows shown on screen for a scroll bar at `value` in a box `boxHeight` high (value != 0,
// or value 0 with a body that does not fit).
RowSelection screenRows(const BodyGeometry &g, double boxHeight, int value, int min, int max);
// Rows printed: those that fill the scroll bar's height from its current position, or every
// row when the bar is hidden.
RowSelection printedRows(const BodyGeometry &g, bool barVisible, double barHeight, int value, int min, int max);

} // namespace vnt::tabelle
