// Table layout arithmetic; see TabelleLayout.h.
#include "drawing/TabelleLayout.h"

#include "platform/NumberFormat.h"
#include "platform/errors.h"
#include "platform/system.h"

#include <algorithm>

namespace vnt::tabelle {

double blockHeight(double h, double erz, double pitch, int rowsAfterFirst)
{
    return h + 2 * erz + rowsAfterFirst * pitch;
}

VRule headRule(double y0, double headHeight, double h, double erz, int k, int r)
{
    if (k <= 0)
        return {y0, headHeight};
    // A rule left out of every head row (or more) is simply absent; the general formula
    // would give it a negative length.
    if (k >= r)
        return {y0, 0};
    // The left-out rows are counted with the text height, not the pitch.
    const double start = y0 + k * h + erz + 1;
    return {start, headHeight - k * h - erz - 1};
}

QList<HeadCell> headCells(const QList<double> &widths, const std::function<int(int)> &leaveOut, int row)
{
    QList<HeadCell> cells;
    const int n = int(widths.size());
    double left = 0;
    int i = 0;
    while (i < n) {
        HeadCell c{i, left, 0};
        for (;;) {
            c.width += widths[i];
            if (i == n - 1 || leaveOut(i) <= row)
                break;
            ++i;
        }
        cells.append(c);
        left += c.width;
        ++i;
    }
    return cells;
}

int decimalSignPosition(const QString &text)
{
    // The formatted number carries the locale's decimal sign; in a German table a "." is a
    // thousands separator and would put the column off by whole digit groups.
    const int p = int(text.indexOf(sys::decimalSign()));
    return p < 0 ? 0 : p + 1;
}

double decimalShift(const QString &pattern, double columnWidth)
{
    const int L = int(pattern.size());
    if (L == 0)
        raise(err::DivisionByZero);
    const int pf = int(pattern.indexOf(QLatin1Char('.'))) + 1;
    return (L / 2.0 - pf) * (columnWidth / 2 - 1.5) / L;
}

QString formatCell(const Variant &value, const QString &pattern)
{
    if (value.isEmpty() || value.isNull())
        return {};
    if (pattern.isEmpty())
        return value.toString();
    if (value.type() == VarType::String) {
        bool ok = false;
        const double d = parseNumber(value.toString().trimmed(), &ok);
        return ok ? Format(d, pattern) : value.toString();
    }
    return Format(value.toDouble(), pattern);
}

int lastFittingRow(const BodyGeometry &g, double limit)
{
    for (int i = 0; i < g.rows; ++i) {
        const double y = g.ero + g.headHeight + g.erz + g.h + i * g.pitch;
        if (y > limit)
            return std::max(i - 1, 0);
    }
    return std::max(g.rows - 1, 0);
}

double scrollFraction(int value, int min, int max)
{
    // A bar that was never given a range would divide by zero; it has not been scrolled.
    if (max == min)
        return 0;
    return RoundHalfEven(double(value) / (max - min), 3);
}

int firstShownRow(double fraction, int rows, int lastFitting)
{
    const int first = int(RoundHalfEven(fraction * (rows - 1 - lastFitting)));
    return std::max(first, 0);
}

RowSelection unscrolledRows(const BodyGeometry &g, int eez, int elz)
{
    RowSelection s;
    s.EEZ = std::max(eez, 0);
    s.ELZ = (elz <= 0 || elz >= g.rows) ? g.rows - 1 : elz;
    s.height = blockHeight(g.h, g.erz, g.pitch, std::max(s.ELZ - s.EEZ, 0));
    return s;
}

bool bodyFits(const BodyGeometry &g, double boxHeight)
{
    const double all = blockHeight(g.h, g.erz, g.pitch, std::max(g.rows - 1, 0));
    return boxHeight > all + g.headHeight + g.ero + g.eru;
}

BarLayout barLayout(const BodyGeometry &g, double erl, double tableWidth, double boxHeight)
{
    BarLayout b;
    b.top = g.ero + g.headHeight + 0.5;
    b.left = erl + tableWidth + 1.5;
    b.width = 5;
    b.height = boxHeight - b.top - g.eru + 0.5;
    return b;
}

RowSelection screenRows(const BodyGeometry &g, double boxHeight, int value, int min, int max)
{
    const int L = lastFittingRow(g, boxHeight - g.eru);
    RowSelection s;
    s.EEZ = value == 0 ? 0 : firstShownRow(scrollFraction(value, min, max), g.rows, L);
    s.ELZ = std::min(s.EEZ + L, std::max(g.rows - 1, 0));
    s.height = blockHeight(g.h, g.erz, g.pitch, L);
    return s;
}

RowSelection printedRows(const BodyGeometry &g, bool barVisible, double barHeight, int value, int min, int max)
{
    // A hidden bar means the whole body fitted on screen; its height is left over from an
    // earlier drawing and must not cut rows from the paper.
    if (!barVisible)
        return unscrolledRows(g, 0, g.rows - 1);
    const int L = lastFittingRow(g, g.ero + g.headHeight + barHeight);
    RowSelection s;
    s.EEZ = firstShownRow(scrollFraction(value, min, max), g.rows, L);
    s.ELZ = std::min(s.EEZ + L, std::max(g.rows - 1, 0));
    s.height = blockHeight(g.h, g.erz, g.pitch, std::max(s.ELZ - s.EEZ, 0));
    return s;
}

} // namespace vnt::tabelle
