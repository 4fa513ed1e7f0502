// What the mouse and the keys do on the grid: the events the typed grid listens to, clicks on
// the fixed columns, and the keys' steps, which never make a fixed cell current.
#include "grid/GridControl.h"
#include "platform/ui.h"
#include <QKeyEvent>
#include <QMouseEvent>

namespace vnt {

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

} // namespace vnt
