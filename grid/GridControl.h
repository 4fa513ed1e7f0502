// The grid control a window places for a typed grid: a table whose row 0 is the header row
// and whose leftmost columns can be fixed (they stay in view while the others scroll, one
// column at a time). Geometry is reported in twips, as the grid component computes in them.
// It only shows text; editing happens in the editors the grid component lays over a cell.
#pragma once

#include "data/FlexGrid.h"
#include <QColor>
#include <QTableWidget>
#include <QVector>

class QScrollBar;

namespace vnt {

class GridControl : public QTableWidget, public FlexGrid {
    Q_OBJECT
public:
    static constexpr double kTwipsPerPixel = 15.0;
    enum Pointer { PointerDefault = 0, PointerCross = 2 };

    explicit GridControl(QWidget *parent = nullptr);

    // FlexGrid
    int FixedRows() const override { return 1; }
    int Rows() const override { return rowCount() + 1; }
    void setRows(int rows) override;
    int Cols() const override { return columnCount(); }
    QString TextMatrix(int row, int col) const override;
    void setTextMatrix(int row, int col, const QString &text) override;
    bool Enabled() const override { return isEnabled(); }
    void setEnabled(bool enabled) override { QWidget::setEnabled(enabled); }
    QColor BackColor() const override { return back_; }
    void setBackColor(const QColor &c) override;
    QColor BackColorFixed() const override { return backFixed_; }
    int Index() const override { return index_; }
    void setIndex(int i) { index_ = i; }

    void setCols(int cols);
    int FixedCols() const { return fixedCols_; }
    void setFixedCols(int n);
    // The first n columns stay in view while the others scroll, so that a row's key is seen
    // with every column; those beyond the fixed columns can still be edited.
    void setFrozenCols(int n);

    // Current cell (the anchor of the selection) and the far corner of the selection.
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    int RowSel() const;
    int ColSel() const;
    QString Text() const { return TextMatrix(Row(), Col()); }
    void setText(const QString &t) { setTextMatrix(Row(), Col(), t); }
    // Selects the block from the current cell to (row, col).
    void setSelection(int rowSel, int colSel);

    // Twips, relative to the grid's own left and top edge.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;
    QRect cellRect(int row, int col) const;   // pixels, in grid coordinates
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;
    int DefaultRowHeight() const;
    void setRowHeight(int row, int twips);    // row 0 is the header row; any other row sets all data rows
    int gridWidth() const { return int(width() * kTwipsPerPixel); }

    int LeftCol() const { return leftCol_; }
    void setLeftCol(int col);
    int TopRow() const;
    bool ColIsVisible(int col) const;
    bool RowIsVisible(int row) const;

    // The pattern a column's numbers are shown in ("" shows every text as it stands). The
    // cell keeps its own text, so a loaded value looks like a typed one and keeps its digits.
    void setColFormat(int col, const QString &pattern);
    // A cell's text as the grid shows it: a number in its column's pattern, with fewer
    // decimals where the column is too narrow, and "#" marks where even the whole part is.
    QString shownText(int row, int col) const;

    // Alignment of the data cells and of the header cell of a column.
    void setColAlignment(int col, Qt::Alignment a);
    Qt::Alignment colAlignment(int col) const;
    void setHeaderAlignment(int col, Qt::Alignment a);

    // The selected block as text: cells separated by tabs, rows by carriage returns.
    QString Clip() const;

    int MousePointer() const { return pointer_; }
    void setMousePointer(int p);

    QColor ForeColor() const { return fore_; }
    void setForeColor(const QColor &c);

signals:
    void KeyPress(int ascii);
    void DblClick();
    void Click();
    void MouseDown(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void Scroll();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    friend class GridDelegate;
    void updateColumnBar();
    void applyPalette();
    int tableRow(int row) const;   // grid row -> table row, raising 381 when out of range
    void checkCol(int col) const;
    QTableWidgetItem *cellItem(int row, int col, bool create);
    // The first column that scrolls: the fixed and the frozen columns stay.
    int firstScrollingCol() const;
    // The leftmost column in view that can be current.
    int firstEditableColInView() const;

    int fixedCols_ = 0;
    int frozenCols_ = 0;
    int leftCol_ = 0;
    int anchorRow_ = 0, anchorCol_ = 0;
    int pointer_ = PointerDefault;
    int index_ = 0;
    QColor back_, backFixed_, fore_;
    QVector<int> colTwips_;
    QVector<Qt::Alignment> align_;
    QVector<QString> formats_;
    QScrollBar *columnBar_ = nullptr;
    bool settingLeftCol_ = false;
    bool keepAnchor_ = false;
    bool mouseHeld_ = false;
    bool fixedPress_ = false;   // the button went down on a fixed cell
    bool doubleClicked_ = false;   // the release ending a double click is no click of its own
};

} // namespace vnt
