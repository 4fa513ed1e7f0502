// What the column accessor needs of a grid: the grid component implements it, tests use a double.
#pragma once

#include <QColor>
#include <QString>

namespace vnt {

class FlexGrid {
public:
    virtual ~FlexGrid() = default;
    virtual int FixedRows() const = 0;
    virtual int Rows() const = 0;
    virtual void setRows(int rows) = 0;
    virtual int Cols() const = 0;
    virtual QString TextMatrix(int row, int col) const = 0;
    virtual void setTextMatrix(int row, int col, const QString &text) = 0;
    virtual bool Enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual QColor BackColor() const = 0;
    virtual void setBackColor(const QColor &c) = 0;
    virtual QColor BackColorFixed() const = 0;
    virtual int Index() const = 0;   // index in the window's control array, shown in messages
};

} // namespace vnt
