// What the grid shows and how it scrolls: cell geometry in twips, column widths and row
// heights, the columns scrolled out of view, and the cells' texts in their columns' patterns
// and alignment.
#include "grid/GridControl.h"
#include "grid/GridControl_Shared.h"
#include "grid/GridText.h"
#include "platform/NumberFormat.h"
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

namespace vnt {

using namespace gridcontrol_shared;

namespace {
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

void GridControl::setMousePointer(int p)
{
    pointer_ = p;
    viewport()->setCursor(p == PointerCross ? Qt::CrossCursor : Qt::ArrowCursor);
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

void GridControl::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    // A column hidden by the sideways scroll comes back by moving the first visible column.
    if (index.isValid() && index.column() >= firstScrollingCol() && index.column() < leftCol_)
        setLeftCol(index.column());
    QTableWidget::scrollTo(index, hint);
}

} // namespace vnt
