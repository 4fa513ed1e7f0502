// The cell block a page hands to the table object: values indexed (column, row) from 0,
// unformatted, as the page read them. A block that was never dimensioned has no cells at
// all and is refused by the table object with its error box, not drawn as an empty table.
#pragma once

#include "platform/Variant.h"
#include "platform/errors.h"

#include <QList>
#include <algorithm>
#include <initializer_list>

namespace vnt {

using VariantList = QList<Variant>;

class CellArray {
public:
    CellArray() = default;                       // not dimensioned
    CellArray(int columns, int rows) { ReDim(columns, rows); }

    // Rows given as lists of cells, the way a test or a page writes a small table by hand.
    static CellArray fromRows(std::initializer_list<VariantList> rows)
    {
        int cols = 0;
        for (const auto &r : rows) cols = std::max(cols, int(r.size()));
        CellArray a(cols, int(rows.size()));
        int j = 0;
        for (const auto &r : rows) {
            for (int i = 0; i < r.size(); ++i) a.set(i, j, r[i]);
            ++j;
        }
        return a;
    }

    void ReDim(int columns, int rows)
    {
        cols_ = std::max(columns, 0);
        rows_ = std::max(rows, 0);
        cells_ = QList<Variant>(cols_ * rows_);
        dimensioned_ = true;
    }

    bool dimensioned() const { return dimensioned_; }
    int columns() const { return cols_; }
    int rows() const { return rows_; }

    // Reading or writing outside the block raises "subscript out of range", as the program's arrays did.
    const Variant &at(int column, int row) const
    {
        check(column, row);
        return cells_[row * cols_ + column];
    }
    void set(int column, int row, const Variant &v)
    {
        check(column, row);
        cells_[row * cols_ + column] = v;
    }

private:
    void check(int column, int row) const
    {
        if (!dimensioned_ || column < 0 || row < 0 || column >= cols_ || row >= rows_)
            raise(err::SubscriptOutOfRange);
    }

    int cols_ = 0, rows_ = 0;
    bool dimensioned_ = false;
    QList<Variant> cells_;
};

} // namespace vnt
