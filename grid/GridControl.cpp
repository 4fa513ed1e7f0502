// The table behind a typed grid: header row, fixed columns, column-wise scrolling, twips.
#include "grid/GridControl.h"
#include "grid/GridText.h"
#include "platform/NumberFormat.h"
#include "platform/ui.h"
#include "platform/errors.h"
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <cmath>

namespace vnt {

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

namespace {
int toPixels(double twips) { return int(std::lround(twips / GridControl::kTwipsPerPixel)); }
int toTwips(int px) { return int(std::lround(px * GridControl::kTwipsPerPixel)); }

// The pattern with its last decimal place dropped ("#0.000" -> "#0.00" -> "#0.0" -> "#0");
// "" once it has none left to drop.
QString fewerDecimals(QString pattern)
{
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    if (point < 0)
        return {};
    for (qsizetype i = pattern.size() - 1; i > point; --i)
        if (pattern[i] == QLatin1Char('0') || pattern[i] == QLatin1Char('#')) {
            pattern.remove(i, 1);
            break;
        }
    bool decimalsLeft = false;
    for (qsizetype i = point + 1; i < pattern.size(); ++i)
        decimalsLeft = decimalsLeft || pattern[i] == QLatin1Char('0') || pattern[i] == QLatin1Char('#');
    if (!decimalsLeft)
        pattern.remove(point, 1);
    return pattern;
}
} // namespace

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

QRect GridControl::cellRect(int row, int col) const
{
    const int tr = tableRow(row);
    checkCol(col);
    const int x = columnViewportPosition(col) + viewport()->x();
    const int w = columnWidth(col);
    if (tr < 0)
        return QRect(x, horizontalHeader()->y(), w, horizontalHeader()->height());
    return QRect(x, rowViewportPosition(tr) + viewport()->y(), w, QTableWidget::rowHeight(tr));
}

int GridControl::CellLeft() const { return toTwips(cellRect(Row(), Col()).left()); }
int GridControl::CellTop() const { return toTwips(cellRect(Row(), Col()).top()); }
int GridControl::CellWidth() const { return toTwips(cellRect(Row(), Col()).width()); }
int GridControl::CellHeight() const { return toTwips(cellRect(Row(), Col()).height()); }

int GridControl::ColWidth(int col) const
{
    checkCol(col);
    return colTwips_.value(col);
}

void GridControl::setColWidth(int col, int twips)
{
    checkCol(col);
    colTwips_.resize(columnCount());
    colTwips_[col] = twips;
    setColumnWidth(col, toPixels(twips));
    updateColumnBar();
}

int GridControl::RowHeight(int row) const
{
    const int tr = tableRow(row);
    if (tr < 0)
        return toTwips(horizontalHeader()->height());
    return toTwips(QTableWidget::rowHeight(tr));
}

int GridControl::DefaultRowHeight() const
{
    return toTwips(verticalHeader()->defaultSectionSize());
}

void GridControl::setRowHeight(int row, int twips)
{
    const int px = std::max(1, toPixels(twips));
    if (row == 0) {
        horizontalHeader()->setFixedHeight(px);
        updateGeometries();
        return;
    }
    verticalHeader()->setDefaultSectionSize(px);
    for (int r = 0; r < rowCount(); ++r)
        QTableWidget::setRowHeight(r, px);
}

void GridControl::setLeftCol(int col)
{
    const int cols = columnCount();
    const int first = firstScrollingCol();
    if (cols <= first)
        col = first;
    else
        col = std::clamp(col, first, cols - 1);
    const bool changed = col != leftCol_;
    settingLeftCol_ = true;
    leftCol_ = col;
    for (int c = 0; c < cols; ++c)
        setColumnHidden(c, c >= first && c < col);
    horizontalScrollBar()->setValue(0);
    settingLeftCol_ = false;
    updateColumnBar();
    if (changed)
        emit Scroll();
}

void GridControl::updateColumnBar()
{
    if (!columnBar_)
        return;
    const int first = firstScrollingCol();
    int all = 0;
    for (int c = 0; c < columnCount(); ++c)
        all += columnWidth(c);
    const bool needed = leftCol_ > first || all > viewport()->width();
    settingLeftCol_ = true;
    columnBar_->setRange(0, std::max(0, columnCount() - first - 1));
    columnBar_->setPageStep(1);
    columnBar_->setValue(leftCol_ - first);
    settingLeftCol_ = false;
    const auto policy = needed ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);
    horizontalScrollBar()->hide();
}

int GridControl::TopRow() const
{
    const int r = rowAt(0);
    return r < 0 ? 1 : r + 1;
}

bool GridControl::ColIsVisible(int col) const
{
    checkCol(col);
    if (col < fixedCols_)
        return true;
    if (isColumnHidden(col))
        return false;
    const int x = columnViewportPosition(col);
    return x >= 0 && x < viewport()->width();
}

bool GridControl::RowIsVisible(int row) const
{
    const int tr = tableRow(row);
    if (tr < 0)
        return true;
    const int y = rowViewportPosition(tr);
    return y >= 0 && y + QTableWidget::rowHeight(tr) <= viewport()->height();
}

void GridControl::setColAlignment(int col, Qt::Alignment a)
{
    checkCol(col);
    align_.resize(columnCount());
    align_[col] = a;
    viewport()->update();
}

void GridControl::setColFormat(int col, const QString &pattern)
{
    checkCol(col);
    formats_.resize(columnCount());
    formats_[col] = pattern;
    viewport()->update();
}

QString GridControl::shownText(int row, int col) const
{
    const QString text = TextMatrix(row, col);
    QString pattern = formats_.value(col);
    const std::optional<double> value = pattern.isEmpty() ? std::nullopt : gridtext::readNumber(text);
    if (!value)
        return text;
    QString shown = Format(*value, pattern);
    // The room the item view leaves for the text between the cell's edges.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int room = columnWidth(col) - 2 * margin;
    const QFontMetrics fm(font());
    while (fm.horizontalAdvance(shown) > room) {
        pattern = fewerDecimals(pattern);
        if (pattern.isEmpty())
            return QString(std::max(1, room / std::max(1, fm.horizontalAdvance(QLatin1Char('#')))), QLatin1Char('#'));
        shown = Format(*value, pattern);
    }
    return shown;
}

Qt::Alignment GridControl::colAlignment(int col) const
{
    return col >= 0 && col < align_.size() ? align_[col] : (Qt::AlignRight | Qt::AlignVCenter);
}

void GridControl::setHeaderAlignment(int col, Qt::Alignment a)
{
    cellItem(0, col, true)->setTextAlignment(a);
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

void GridControl::setMousePointer(int p)
{
    pointer_ = p;
    viewport()->setCursor(p == PointerCross ? Qt::CrossCursor : Qt::ArrowCursor);
}

namespace {
int buttonCode(Qt::MouseButtons b)
{
    return ((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) | ((b & Qt::MiddleButton) ? 4 : 0);
}
} // namespace

void GridControl::keyPressEvent(QKeyEvent *e)
{
    // Copy and paste belong to the window, which passes them to the grid component.
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Paste)) {
        e->ignore();
        return;
    }
    int ascii = 0;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        ascii = 13;
    else if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        ascii = e->key() - Qt::Key_A + 1;
    else if (!e->text().isEmpty() && e->text().at(0).unicode() >= 32)
        ascii = e->text().at(0).unicode();
    if (ascii != 0) {
        emit KeyPress(ascii);
        if (ascii >= 32 || ascii == 13)
            return;
    }
    QTableWidget::keyPressEvent(e);
}

void GridControl::mousePressEvent(QMouseEvent *e)
{
    const QModelIndex at = indexAt(e->position().toPoint());
    fixedPress_ = at.isValid() && at.column() < fixedCols_ && columnCount() > fixedCols_;
    if (fixedPress_) {
        // Fixed cells hold the numbering and are never current, or a typed key would edit
        // a section number; a click there picks its row at the first editable column in view.
        if (e->button() == Qt::LeftButton)
            setCurrentCell(at.row(), firstEditableColInView(), QItemSelectionModel::ClearAndSelect);
        const QPointF p = mapFromGlobal(e->globalPosition());
        emit MouseDown(buttonCode(e->button()), ui::shiftMask(e->modifiers()), float(p.x() * kTwipsPerPixel), float(p.y() * kTwipsPerPixel));
        e->accept();
        return;
    }
    if (at.isValid() && !(e->modifiers() & Qt::ShiftModifier) && e->button() == Qt::LeftButton) {
        anchorRow_ = at.row();
        anchorCol_ = at.column();
    }
    mouseHeld_ = true;
    QTableWidget::mousePressEvent(e);
    const QPointF p = mapFromGlobal(e->globalPosition());
    emit MouseDown(buttonCode(e->button()), ui::shiftMask(e->modifiers()), float(p.x() * kTwipsPerPixel), float(p.y() * kTwipsPerPixel));
}

void GridControl::mouseReleaseEvent(QMouseEvent *e)
{
    if (!fixedPress_)
        QTableWidget::mouseReleaseEvent(e);
    if (e->buttons() == Qt::NoButton)
        fixedPress_ = false;
    mouseHeld_ = e->buttons() != Qt::NoButton;
    const QPointF p = mapFromGlobal(e->globalPosition());
    emit MouseUp(buttonCode(e->button()), ui::shiftMask(e->modifiers()), float(p.x() * kTwipsPerPixel), float(p.y() * kTwipsPerPixel));
    // A double click ends with a release of its own; taken as a click it would commit the
    // editor the double click has just opened.
    const bool ends = doubleClicked_;
    if (e->buttons() == Qt::NoButton)
        doubleClicked_ = false;
    if (e->button() == Qt::LeftButton && !ends)
        emit Click();
}

void GridControl::mouseMoveEvent(QMouseEvent *e)
{
    const int editableLeft = fixedCols_ > 0 && columnCount() > fixedCols_ ? columnViewportPosition(firstEditableColInView()) : -1;
    if (fixedPress_) {
        // a press on a fixed cell selects nothing by dragging
    } else if (mouseHeld_ && editableLeft >= 0 && e->position().x() < editableLeft) {
        // a drag that reaches the fixed columns stops at the first editable one
        const QPointF at(editableLeft + 1, e->position().y());
        QMouseEvent kept(e->type(), at, viewport()->mapToGlobal(at), e->button(), e->buttons(), e->modifiers());
        QTableWidget::mouseMoveEvent(&kept);
    } else {
        QTableWidget::mouseMoveEvent(e);
    }
    const QPointF p = mapFromGlobal(e->globalPosition());
    emit MouseMove(buttonCode(e->buttons()), ui::shiftMask(e->modifiers()), float(p.x() * kTwipsPerPixel), float(p.y() * kTwipsPerPixel));
}

void GridControl::mouseDoubleClickEvent(QMouseEvent *e)
{
    QTableWidget::mouseDoubleClickEvent(e);
    doubleClicked_ = true;
    emit DblClick();
}

void GridControl::wheelEvent(QWheelEvent *e)
{
    const QPoint d = e->angleDelta();
    if (d.x() != 0 || (e->modifiers() & Qt::ShiftModifier)) {
        const int delta = d.x() != 0 ? d.x() : d.y();
        setLeftCol(leftCol_ + (delta < 0 ? 1 : -1));
        e->accept();
        return;
    }
    QTableWidget::wheelEvent(e);
}

void GridControl::resizeEvent(QResizeEvent *e)
{
    QTableWidget::resizeEvent(e);
    updateColumnBar();
}

QModelIndex GridControl::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const int here = currentIndex().isValid() ? currentIndex().column() : fixedCols_;
    const bool step = cursorAction == MoveLeft || cursorAction == MovePrevious;
    // Left of the first scrolling column in view lie the columns scrolled out of it; with
    // frozen columns between, the view's own step would jump over them to the frozen ones.
    if (cursorAction == MoveLeft && here == leftCol_ && leftCol_ > firstScrollingCol() && currentIndex().isValid())
        return model()->index(currentIndex().row(), leftCol_ - 1);
    QModelIndex next = QTableWidget::moveCursor(cursorAction, modifiers);
    // keys stop at the first editable column; the fixed ones are never current
    if (next.isValid() && next.column() < fixedCols_ && columnCount() > fixedCols_) {
        // a step to the left goes to the next column scrolled out of view, if there is one
        next = model()->index(next.row(), step ? std::max(fixedCols_, here - 1) : fixedCols_);
    }
    return next;
}

void GridControl::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    // A column hidden by the sideways scroll comes back by moving the first visible column.
    if (index.isValid() && index.column() >= firstScrollingCol() && index.column() < leftCol_)
        setLeftCol(index.column());
    QTableWidget::scrollTo(index, hint);
}

} // namespace vnt
