// The input window's keys and events: Enter in a grid or its cell editor, moving on from cell
// to cell and section to section, the record-name check on leaving the name box, and the event
// filter that routes the children's events to them.
#include "input/mdiEINGABE.h"

#include "grid/GridControl.h"
#include "grid/clsFLX.h"
#include "platform/ui.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>

namespace vnt {

// ---- events ------------------------------------------------------------------------------

void mdiEINGABE::OPTIONEN()
{
    optZAUF[size_t(std::clamp<int>(ZAUF, 0, 1))]->setChecked(true);
    optK[size_t(std::clamp<int>(K, 0, 3))]->setChecked(true);
}

void mdiEINGABE::msgFLX_KeyPress(int i, int ascii)
{
    const int before = msgFLX[size_t(i)]->Rows();
    FLX(i).BEARBEITEN(int16_t(ascii), 0);
    const int after = msgFLX[size_t(i)]->Rows();
    if (ascii == 13 && after == before)
        stepCell(i, 1);   // Enter on any other cell moves on to the next
    if (ascii == 13 && after > before) {
        // Enter on the last cell appended a section: every grid gets its row.
        for (int j = 0; j < 4; ++j) {
            GridControl *g = msgFLX[size_t(j)];
            if (j != i && g->Rows() < after) {
                g->setRows(after);
                FLX(j).NUMMERIEREN();
            }
        }
    }
    OPTIONEN();
}

void mdiEINGABE::txtFLX_KeyPress(int i, int ascii)
{
    FLX(i).EINFUEGEN(int16_t(ascii));
    if (ascii == 13)
        OPTIONEN();
}

bool mdiEINGABE::txtKEN_Validate()
{
    if (!txtKEN->text().trimmed().isEmpty())
        return true;
    if (SPRACHE == 1)
        ui::MsgBox(QStringLiteral("File name is missing!"), ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Data error"));
    else
        ui::MsgBox(QStringLiteral("Datensatzkennzeichnung fehlt!"), ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Datenfehler"));
    return false;
}

bool mdiEINGABE::handleKey(QObject *watched, QKeyEvent *e)
{
    const auto mods = e->modifiers();
    // The keypad's decimal key types the user's decimal sign, whatever the keyboard layout says.
    if ((mods & Qt::KeypadModifier) && (e->key() == Qt::Key_Period || e->key() == Qt::Key_Comma)) {
        const QString sign = ctx_.DEZIMALPUNKT().isEmpty() ? QStringLiteral(",") : ctx_.DEZIMALPUNKT();
        if (e->text() == sign)
            return false;
        QKeyEvent typed(QEvent::KeyPress, sign == QLatin1String(",") ? Qt::Key_Comma : Qt::Key_Period, Qt::NoModifier, sign);
        QCoreApplication::sendEvent(watched, &typed);
        return true;
    }
    if ((mods & Qt::AltModifier) && e->key() == Qt::Key_Q) {
        if (onQuit)
            onQuit();
        else
            ctx_.mnuBEENDEN_Click();
        return true;
    }
    const bool ctrl = mods & Qt::ControlModifier;
    if (ctrl && e->key() == Qt::Key_S) {
        ctx_.stbMAIN_PanelClick(8);
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (watched != msgFLX[size_t(i)])
            continue;
        if (ctrl && e->key() == Qt::Key_C) {
            FLX(i).BEARBEITEN(-1, 0);
            return true;
        }
        if (ctrl && e->key() == Qt::Key_V) {
            FLX(i).EINFUEGEN(-1);
            return true;
        }
    }
    for (int i = 0; i < 4; ++i)
        if (watched == txtFLX[size_t(i)] && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
            txtFLX_KeyPress(i, 13);
            if (!editorOpen(i))
                stepCell(i, 1);
            return true;
        }
    return moveKey(watched, e);
}

// ---- moving on from the keyboard -----------------------------------------------------------

bool mdiEINGABE::editorOpen(int i) const
{
    return !txtFLX[size_t(i)]->isHidden() || (i == 0 && !cboFLX0->isHidden());
}

bool mdiEINGABE::stepCell(int i, int step)
{
    GridControl *g = msgFLX[size_t(i)];
    int row = g->Row(), col = g->Col() + step;
    if (col >= g->Cols()) {
        col = g->FixedCols();
        ++row;
    } else if (col < g->FixedCols()) {
        col = g->Cols() - 1;
        --row;
    }
    if (row < g->FixedRows() || row >= g->Rows())
        return false;
    g->setRow(row);
    g->setCol(col);
    return true;
}

bool mdiEINGABE::stepRow(int i, int step)
{
    GridControl *g = msgFLX[size_t(i)];
    const int row = g->Row() + step;
    if (row < g->FixedRows() || row >= g->Rows())
        return false;
    g->setRow(row);
    return true;
}

// The last row of any grid holds a value: the section has been begun.
bool mdiEINGABE::lastSectionBegun() const
{
    for (GridControl *g : msgFLX) {
        const int row = g->Rows() - 1;
        if (row < g->FixedRows() || !g->Enabled())
            continue;
        for (int c = g->FixedCols(); c < g->Cols(); ++c)
            if (!g->TextMatrix(row, c).trimmed().isEmpty())
                return true;
    }
    return false;
}

void mdiEINGABE::appendSection(int i)
{
    GridControl *g = msgFLX[size_t(i)];
    const int col = g->Col();
    g->setRow(g->Rows() - 1);
    g->setCol(g->Cols() - 1);
    msgFLX_KeyPress(i, 13);   // as Enter on the last cell: every grid gets the section
    g->setCol(col);
}

// Enter, Tab and the arrow keys end an entry in a cell editor and move on, as in any table:
// the grid only commits, and where to go next is the window's choice. On the grid itself Tab
// walks the cells and, past the last one, leaves for the row buttons; Down on the last row
// begins a new section once that row holds something.
bool mdiEINGABE::moveKey(QObject *watched, QKeyEvent *e)
{
    const auto mods = e->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (mods != Qt::NoModifier)
        return false;
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    for (int i = 0; i < 4; ++i) {
        QLineEdit *txt = txtFLX[size_t(i)];
        const bool inText = watched == txt;
        const bool inChoice = i == 0 && (watched == cboFLX0 || watched == cboFLX0->lineEdit());
        if ((inText || inChoice) && editorOpen(i)) {
            QLineEdit *line = inText ? txt : cboFLX0->lineEdit();
            const bool atEnd = line && !line->hasSelectedText() && line->cursorPosition() == line->text().size();
            const bool atStart = line && !line->hasSelectedText() && line->cursorPosition() == 0;
            int step = 0;
            bool byRow = false;
            if (enter || key == Qt::Key_Tab || (key == Qt::Key_Right && atEnd))
                step = 1;
            else if (key == Qt::Key_Backtab || (key == Qt::Key_Left && atStart))
                step = -1;
            else if (inText && (key == Qt::Key_Down || key == Qt::Key_Up)) {
                step = key == Qt::Key_Down ? 1 : -1;
                byRow = true;   // a choice list takes Up and Down for its items
            }
            if (step == 0)
                return false;
            FLX(i).EINFUEGEN(13);
            if (editorOpen(i))
                return true;   // refused: the message has been shown, the editor stays
            OPTIONEN();
            byRow ? stepRow(i, step) : stepCell(i, step);
            return true;
        }
        if (watched != msgFLX[size_t(i)] || editorOpen(i))
            continue;
        GridControl *g = msgFLX[size_t(i)];
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return stepCell(i, key == Qt::Key_Tab ? 1 : -1);   // false: the focus moves on
        if (key == Qt::Key_Down && g->Row() == g->Rows() - 1 && lastSectionBegun()) {
            appendSection(i);
            return true;
        }
    }
    return false;
}

bool mdiEINGABE::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        if (handleKey(watched, static_cast<QKeyEvent *>(e)))
            return true;
        break;
    case QEvent::Resize:
        if (watched == page_ && !window()->isMinimized() && !(parentWidget() && parentWidget()->isMinimized()))
            placeControls();
        break;
    case QEvent::MouseMove:
        for (int i = 0; i < 4; ++i)
            if (watched == picFLX[size_t(i)]) {
                const QPointF p = static_cast<QMouseEvent *>(e)->position();
                FLX(i).TOOLTIP(float(p.x() * GridControl::kTwipsPerPixel), float(p.y() * GridControl::kTwipsPerPixel));
            }
        break;
    case QEvent::WindowStateChange:
        if (watched == parentWidget() && !frameStateChanging_) {
            QWidget *had = QApplication::focusWidget();
            focusBeforeFrameState_ = had && isAncestorOf(had) ? had : nullptr;
            frameStateChanging_ = true;
            QTimer::singleShot(0, this, [this] {
                frameStateChanging_ = false;
                if (focusBeforeFrameState_ && focusBeforeFrameState_->isVisible())
                    focusBeforeFrameState_->setFocus(Qt::OtherFocusReason);
                focusBeforeFrameState_ = nullptr;
            });
        }
        break;
    case QEvent::FocusOut:
        if (watched == txtKEN && !checkingName_ && !frameStateChanging_) {
            const auto reason = static_cast<QFocusEvent *>(e)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason
                || reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason) {
                // The new focus is known only after the change; a box while focus moves would loop.
                QTimer::singleShot(0, this, [this] {
                    QWidget *now = QApplication::focusWidget();
                    if (!now || now == txtKEN || !isAncestorOf(now) || checkingName_)
                        return;
                    checkingName_ = true;
                    if (!txtKEN_Validate())
                        txtKEN->setFocus();
                    checkingName_ = false;
                });
            }
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace vnt
