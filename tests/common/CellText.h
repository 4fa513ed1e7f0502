// A table's cells as text a test compares: "<empty>" for an empty cell, strings as they are,
// numbers with six significant digits.
#pragma once

#include "drawing/TabelleCells.h"

#include <QStringList>

namespace vnt::test {

inline QString cell(const CellArray &a, int col, int row)
{
    const Variant &v = a.at(col, row);
    if (v.isEmpty())
        return QStringLiteral("<empty>");
    if (v.type() == VarType::String)
        return v.toString();
    return QString::number(v.toDouble(), 'g', 6);
}

inline QStringList row(const CellArray &a, int r)
{
    QStringList out;
    for (int c = 0; c < a.columns(); ++c)
        out << cell(a, c, r);
    return out;
}

} // namespace vnt::test
