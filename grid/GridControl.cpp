// The table behind a typed grid: header row, fixed columns, column-wise scrolling, twips.
// Here: making it, its colours, rows and columns, the cells' texts, the current cell and the
// selection. What it shows and how it scrolls is in GridControl_View.cpp; what the mouse and
// the keys do, in GridControl_Input.cpp.
#include "grid/GridControl.h"
#include "grid/GridControl_Shared.h"
#include "platform/errors.h"
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace vnt {

using namespace gridcontrol_shared;

// Gives each column its alignment and the fixed columns their colour, so that no cell needs
// an item of its own just to look right.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(GridControl *g) : QStyledItemDelegate(g), grid_(g) {}

protected:
    void initStyleOption(QStyleOptionViewItem *opt, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(opt, index);
        if (!opt->text.isEmpty())
            opt->text = grid_->shownText(index.row() + grid_->FixedRows(), index.column());
        opt->displayAlignment = grid_->colAlignment(index.column());
        opt->palette.setColor(QPalette::Text, grid_->fore_);
        if (index.column() < grid_->fixedCols_)
            opt->backgroundBrush = grid_->backFixed_;
    }

private:
    GridControl *grid_;
};

GridControl::GridControl(QWidget *parent)
    : QTableWidget(parent)
{
    back_ = QColor(Qt::white);
    backFixed_ = QColor(0xC0, 0xC0, 0xC0);
    fore_ = QColor(Qt::black);
    setItemDelegate(new GridDelegate(this));
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ContiguousSelection);
    setSelectionBehavior(SelectItems);
    setHorizontalScrollMode(ScrollPerItem);
    setVerticalScrollMode(ScrollPerItem);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setMinimumSectionSize(1);
    setWordWrap(false);
    // At a fractional scale factor the inner area, rounded outwards to whole device pixels,
    // would paint its ground over the right edge of the frame; the grid paints the ground
    // itself, under the frame, instead.
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    // Columns scroll by hiding the ones left of the first visible column, so that the
    // fixed columns never leave the view; this bar stands in for the view's own.
    columnBar_ = new QScrollBar(Qt::Horizontal, this);
    addScrollBarWidget(columnBar_, Qt::AlignLeft);
    horizontalScrollBar()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(columnBar_, &QScrollBar::valueChanged, this, [this](int v) {
        if (!settingLeftCol_)
            setLeftCol(firstScrollingCol() + v);
    });
    // Anything that scrolls the view sideways (keys, autoscroll while selecting) is turned
    // into a new first visible column.
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (v == 0 || settingLeftCol_)
            return;
        int col = leftCol_, steps = v;
        while (steps > 0 && col < columnCount() - 1) {
            ++col;
            --steps;
        }
        horizontalScrollBar()->setValue(0);
        setLeftCol(col);
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit Scroll(); });

    setCols(2);
    setRowCount(1);
    setRowHeight(1, 240);
    setRowHeight(0, 240);
    applyPalette();
}

void GridControl::applyPalette()
{
    QPalette p = palette();
    for (auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Base, back_);
        p.setColor(g, QPalette::Text, fore_);
    }
    setPalette(p);
    viewport()->update();
}

void GridControl::setBackColor(const QColor &c)
{
    back_ = c;
    applyPalette();
}

void GridControl::setForeColor(const QColor &c)
{
    fore_ = c;
    applyPalette();
}

void GridControl::setRows(int rows)
{
    if (rows < 1)
        vnt::raise(err::InvalidPropertyValue);
    setRowCount(rows - 1);
}

void GridControl::setCols(int cols)
{
    if (cols < 1)
        vnt::raise(err::InvalidPropertyValue);
    const int old = columnCount();
    setColumnCount(cols);
    colTwips_.resize(cols);
    align_.resize(cols);
    formats_.resize(cols);
    for (int c = old; c < cols; ++c) {
        colTwips_[c] = toTwips(horizontalHeader()->defaultSectionSize());
        align_[c] = Qt::AlignRight | Qt::AlignVCenter;
        setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
    }
    if (fixedCols_ >= cols)
        fixedCols_ = 0;
    setLeftCol(fixedCols_);
}

int GridControl::firstScrollingCol() const
{
    return std::min(std::max(fixedCols_, frozenCols_), int(columnCount()));
}

int GridControl::firstEditableColInView() const
{
    return fixedCols_ < firstScrollingCol() ? fixedCols_ : leftCol_;
}

void GridControl::setFrozenCols(int n)
{
    if (n < 0)
        vnt::raise(err::InvalidPropertyValue);
    frozenCols_ = n;
    setLeftCol(leftCol_);
}

void GridControl::setFixedCols(int n)
{
    if (n < 0 || n > columnCount())
        vnt::raise(err::InvalidPropertyValue);
    fixedCols_ = n;
    setLeftCol(n);
    if (Col() < n && columnCount() > n)
        setCol(n);
    viewport()->update();
}

int GridControl::tableRow(int row) const
{
    if (row < 0 || row >= Rows())
        vnt::raise(381, QStringLiteral("Subscript out of range"));
    return row - 1;
}

void GridControl::checkCol(int col) const
{
    if (col < 0 || col >= columnCount())
        vnt::raise(381, QStringLiteral("Subscript out of range"));
}

QTableWidgetItem *GridControl::cellItem(int row, int col, bool create)
{
    const int tr = tableRow(row);
    checkCol(col);
    if (tr < 0) {
        QTableWidgetItem *h = horizontalHeaderItem(col);
        if (!h && create) {
            h = new QTableWidgetItem;
            setHorizontalHeaderItem(col, h);
        }
        return h;
    }
    QTableWidgetItem *it = QTableWidget::item(tr, col);
    if (!it && create) {
        it = new QTableWidgetItem;
        setItem(tr, col, it);
    }
    return it;
}

QString GridControl::TextMatrix(int row, int col) const
{
    auto *self = const_cast<GridControl *>(this);
    QTableWidgetItem *it = self->cellItem(row, col, false);
    return it ? it->text() : QString();
}

void GridControl::setTextMatrix(int row, int col, const QString &text)
{
    QTableWidgetItem *it = cellItem(row, col, !text.isEmpty());
    if (it)
        it->setText(text);
}

// Rows and columns removed under the current cell leave it on the nearest one still there.
int GridControl::Row() const { return rowCount() == 0 ? 0 : std::min(anchorRow_, rowCount() - 1) + 1; }
int GridControl::Col() const { return columnCount() == 0 ? 0 : std::min(anchorCol_, columnCount() - 1); }

int GridControl::RowSel() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : Row();
}

int GridControl::ColSel() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : Col();
}

void GridControl::setRow(int row)
{
    const int tr = tableRow(row);
    if (tr < 0)
        vnt::raise(err::InvalidPropertyValue);
    anchorRow_ = tr;
    anchorCol_ = Col();
    setCurrentCell(tr, anchorCol_, QItemSelectionModel::ClearAndSelect);
}

void GridControl::setCol(int col)
{
    checkCol(col);
    anchorCol_ = col;
    if (rowCount() > 0) {
        anchorRow_ = Row() - 1;
        setCurrentCell(anchorRow_, col, QItemSelectionModel::ClearAndSelect);
    }
}

void GridControl::setSelection(int rowSel, int colSel)
{
    const int tr = tableRow(rowSel);
    checkCol(colSel);
    if (tr < 0)
        vnt::raise(err::InvalidPropertyValue);
    QItemSelection sel(model()->index(anchorRow_, anchorCol_), model()->index(tr, colSel));
    keepAnchor_ = true;
    selectionModel()->setCurrentIndex(model()->index(tr, colSel), QItemSelectionModel::NoUpdate);
    keepAnchor_ = false;
    selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
}

void GridControl::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableWidget::currentChanged(current, previous);
    // Keys move the current cell; Shift and a dragging mouse only widen the selection.
    if (current.isValid() && !keepAnchor_ && !mouseHeld_
        && !(QApplication::keyboardModifiers() & Qt::ShiftModifier)) {
        anchorRow_ = current.row();
        anchorCol_ = current.column();
    }
}

QString GridControl::Clip() const
{
    if (rowCount() == 0)
        return {};
    const int r1 = std::min(Row(), RowSel()), r2 = std::max(Row(), RowSel());
    const int c1 = std::min(Col(), ColSel()), c2 = std::max(Col(), ColSel());
    QStringList rows;
    for (int r = r1; r <= r2; ++r) {
        QStringList cells;
        for (int c = c1; c <= c2; ++c)
            cells << TextMatrix(r, c);
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows.join(QLatin1Char('\r'));
}

} // namespace vnt
