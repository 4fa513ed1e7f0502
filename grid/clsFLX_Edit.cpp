// The typed grid's editing: the floating editors, the value check, copy, paste and fill.
#include "grid/clsFLX.h"
#include "grid/GridText.h"
#include "platform/Guard.h"
#include "platform/errors.h"
#include "platform/ui.h"
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QRegularExpression>
#include <cmath>

namespace vnt {

namespace {
const QString kPrefix = QStringLiteral("VB-Error: ");
const QString kCheckTitle = QStringLiteral("MSFlexGrid / ");
const QString kPasteTitle = QStringLiteral("MSFlexGrid / Einfügen");
} // namespace

// ---- the value check ------------------------------------------------------------------

clsFLX::Check clsFLX::WERTPRUEFEN(const QString &value, double lower, double upper, bool whole, bool dateTime,
                                  const QString &kind) const
{
    Check c;
    c.title = kCheckTitle + kind;
    const QString v = value.trimmed();
    if (v.isEmpty())
        return c;
    if (dateTime) {
        if (!gridtext::isDate(v)) {
            c.ok = false;
            c.message = QStringLiteral("Eingegeber Wert ist kein gültiges Datums- oder Zeitformat!");
        }
        return c;
    }
    const auto number = gridtext::readNumber(v);
    if (!number) {
        c.ok = false;
        c.message = QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!");
        return c;
    }
    const float x = float(*number);
    if (x < lower || x > upper) {
        c.ok = false;
        c.message = QStringLiteral("Zahlenwert außerhalb der vorgegeben Schranken:\r\nMinimum: ") + gridtext::generalDouble(lower)
                    + QStringLiteral(", Maximum: ") + gridtext::generalDouble(upper);
        return c;
    }
    if (whole && double(x) != std::floor(double(x))) {
        c.ok = false;
        c.message = QStringLiteral("Eingegeber Wert ist keine ganze Zahl!");
    }
    return c;
}

// The check a value meets in a column: by its type, within the column's limits when both are
// given and the lower lies below the upper. Commit, paste and fill all go through here.
clsFLX::Check clsFLX::checkValue(const QString &text, int col) const
{
    if (text.isEmpty())
        return {};
    double lower = 0, upper = 0;
    const FlexValue &mn = lmin_.at(col), &mx = lmax_.at(col);
    if (!mn.isMissing() && !mx.isMissing()) {
        lower = mn.isEmpty() ? 0.0 : mn.toDouble();
        upper = mx.isEmpty() ? 0.0 : mx.toDouble();
    }
    const QString head = header1(col);
    switch (columnType(col)) {
    case 1:
    case 2:
    case 3:
        if (lower < upper)
            return WERTPRUEFEN(text, lower, upper, true, false, QStringLiteral("Indexspalte ") + head);
        return {};
    case 4: return WERTPRUEFEN(text, lower, upper, false, true, QStringLiteral("Datumsspalte ") + head);
    case 5: return WERTPRUEFEN(text, lower, upper, false, true, QStringLiteral("Uhrzeitspalte ") + head);
    default:
        if (lower < upper)
            return WERTPRUEFEN(text, lower, upper, false, false, QStringLiteral("Spalte ") + head);
        return {};
    }
}

// ---- opening an editor ---------------------------------------------------------------

void clsFLX::placeEditor(QWidget *editor, bool withHeight)
{
    const QRect cell = flx_->cellRect(flx_->Row(), flx_->Col());
    QPoint at = flx_->pos() + cell.topLeft();
    if (editor->parentWidget() != flx_->parentWidget() && editor->parentWidget())
        at = editor->parentWidget()->mapFromGlobal(flx_->mapToGlobal(cell.topLeft()));
    if (withHeight)
        editor->setGeometry(QRect(at, cell.size()));
    else
        editor->setGeometry(at.x(), at.y(), cell.width(), editor->height());
}

void clsFLX::BEARBEITEN(int16_t BOB, float X)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / Bearbeiten"));
    if (BOB > 32 || BOB == 0) {
        // One editor at a time: both commit into the one remembered cell, so a second editor
        // would take over the cell of an entry still open (one its column refused) and strand it.
        QWidget *open = txt_ && !txt_->isHidden() ? static_cast<QWidget *>(txt_) : cbo_ && !cbo_->isHidden() ? cbo_ : nullptr;
        if (open) {
            open->setFocus();
            return;
        }
        g.step([&] {
            requireGrid();
            if (!txt_ || !txt_->isHidden() || columnType(flx_->Col()) >= 7)
                return;
            placeEditor(txt_, true);
            txt_->show();
            txt_->raise();
            txt_->setFocus();
            txt_->setAlignment((gridtext::isNumeric(flx_->Text()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            if (BOB == 0) {
                txt_->setText(flx_->Text());
                txt_->setSelection(0, int(txt_->text().size()));
            } else {
                txt_->setText(QString(QChar(BOB)));
                txt_->setCursorPosition(1);
            }
            znr_ = int16_t(flx_->Row());
            snr_ = int16_t(flx_->Col());
        });
        g.step([&] {
            requireGrid();
            if (!cbo_ || !cbo_->isHidden() || columnType(flx_->Col()) != 7)
                return;
            cbo_->clear();
            const FlexValue items = lcbo_.value(flx_->Col());
            if (!items.isEmpty())
                for (int i = 0; i <= items.ubound(); ++i)
                    cbo_->addItem(items.at(i).text());
            placeEditor(cbo_, false);
            cbo_->show();
            cbo_->raise();
            cbo_->setFocus();
            if (BOB == 0) {
                cbo_->setEditText(flx_->Text());
                if (cbo_->lineEdit())
                    cbo_->lineEdit()->selectAll();
            } else {
                cbo_->setEditText(flx_->Text() + QChar(BOB));
                if (cbo_->lineEdit())
                    cbo_->lineEdit()->end(false);
            }
            znr_ = int16_t(flx_->Row());
            snr_ = int16_t(flx_->Col());
        });
    } else if (BOB == 13) {
        g.step([&] { appendRowOnEnter(); });
    } else if (BOB == -1) {
        g.step([&] { copyBlock(); });
    } else if (BOB == -2) {
        g.step([&] { armFill(X); });
    }
}

void clsFLX::appendRowOnEnter()
{
    requireGrid();
    if (flx_->Col() != flx_->Cols() - 1 || flx_->Row() != flx_->Rows() - 1 || boh_ == 0)
        return;
    flx_->setRows(flx_->Rows() + 1);
    flx_->setRow(flx_->Rows() - 1);
    flx_->setCol(flx_->FixedCols());
    flx_->setLeftCol(flx_->FixedCols());
    if (flxk_ && flxk_->flx_) {
        GridControl *k = flxk_->flx_;
        k->setRows(k->Rows() + 1);
        k->setRow(k->Rows() - 1);
        k->setCol(k->FixedCols());
        flxk_->NUMMERIEREN();
    }
    NUMMERIEREN();
}

// ---- committing ----------------------------------------------------------------------

// Writes an accepted editor text into the cell the editor was opened on; a refused text
// leaves the editor open with what the user typed. Returns false when refused.
bool clsFLX::commitEditor(QWidget *editor, const QString &typed, bool comboPass)
{
    QString text = typed;
    if (!text.isEmpty()) {
        const Check c = checkValue(text, snr_);
        if (!c.ok) {
            ui::MsgBox(c.message, ui::vbOKOnly | ui::vbExclamation, c.title);
            return false;
        }
        const FlexValue &pattern = lformat_.at(snr_);
        if (!pattern.isMissing())
            text = gridtext::formatCell(text, pattern.text());
    }
    flx_->setTextMatrix(znr_, snr_, text);
    if (comboPass)
        cbo_->setEditText(QString());
    else
        txt_->clear();
    editor->hide();
    flx_->setFocus();
    return true;
}

void clsFLX::EINFUEGEN(int16_t BOE)
{
    Guard g(kPrefix, kPasteTitle);
    if (BOE == 13 || BOE == 0) {
        bool refused = false;
        g.step([&] {
            requireGrid();
            if (!txt_ || txt_->isHidden() || columnType(snr_) >= 7)
                return;
            refused = !commitEditor(txt_, txt_->text(), false);
        });
        if (refused || g.left())
            return;
        g.step([&] {
            requireGrid();
            if (!cbo_ || cbo_->isHidden() || columnType(snr_) != 7)
                return;
            commitEditor(cbo_, cbo_->currentText(), true);
        });
    } else if (BOE == -1) {
        g.step([&] { pasteBlock(); });
    } else if (BOE == -2) {
        g.step([&] { completeFill(); });
    }
}

// ---- copy, paste, fill ---------------------------------------------------------------

void clsFLX::copyBlock()
{
    requireGrid();
    QClipboard *cb = QGuiApplication::clipboard();
    cb->clear();
    cb->setText(flx_->Clip());
}

QString clsFLX::rowName(int row) const
{
    QStringList levels;
    for (int type = 1; type <= 3; ++type) {
        const int col = typeCol_[size_t(type)];
        if (col < 0)
            break;
        levels << flx_->TextMatrix(row, col);
    }
    if (levels.isEmpty() || levels.contains(QString()))
        return QString::number(row - flx_->FixedRows() + 1);
    return levels.join(QLatin1Char('.'));
}

void clsFLX::reportRefused(const QList<std::pair<QPoint, Check>> &refused)
{
    if (refused.isEmpty())
        return;
    QList<gridtext::RefusedCell> cells;
    for (const auto &[cell, check] : refused)
        cells.append({rowName(cell.y()), header1(cell.x()), check.message});
    ui::MsgBox(gridtext::refusedCellsText(cells), ui::vbOKOnly | ui::vbExclamation, kPasteTitle);
}

void clsFLX::pasteBlock()
{
    requireGrid();
    // An empty grid takes no input: what landed in its row would show but never be saved.
    if (!flx_->Enabled())
        return;
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasText())
        return;
    QStringList rows = mime->text().split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (rows.size() > 1 && rows.last().isEmpty())
        rows.removeLast();   // a block may end with a row separator
    const int r1 = std::min(flx_->Row(), flx_->RowSel()), r2 = std::max(flx_->Row(), flx_->RowSel());
    const int c1 = std::min(flx_->Col(), flx_->ColSel()), c2 = std::max(flx_->Col(), flx_->ColSel());
    QList<std::pair<QPoint, Check>> refused;
    for (int i = 0; i < rows.size() && r1 + i <= r2; ++i) {
        const QStringList cells = rows[i].split(QLatin1Char('\t'));
        for (int j = 0; j < cells.size() && c1 + j <= c2; ++j) {
            const int r = r1 + i, c = c1 + j;
            const Check check = checkValue(cells[j], c);
            if (check.ok)
                flx_->setTextMatrix(r, c, cells[j]);
            else
                refused.append({QPoint(c, r), check});
        }
    }
    reportRefused(refused);
}

void clsFLX::armFill(float X)
{
    requireGrid();
    const int L = flx_->CellLeft(), W = flx_->CellWidth();
    const float from = float(double(L) + 0.85 * double(W));
    const bool inHandle = X > from && X < float(L + W);
    flx_->setMousePointer(inHandle ? GridControl::PointerCross : GridControl::PointerDefault);
}

void clsFLX::completeFill()
{
    requireGrid();
    if (flx_->MousePointer() != GridControl::PointerCross)
        return;
    const int row = flx_->Row(), col = flx_->Col();
    const QString text = flx_->Text();
    QList<std::pair<QPoint, Check>> refused;
    QHash<int, Check> byColumn;   // one check per column is enough: the text is the same
    for (int r = row; r <= flx_->RowSel(); ++r)
        for (int c = col; c <= flx_->ColSel(); ++c) {
            if (r == row && c == col)
                continue;   // the source cell keeps its own text
            // its own column checks too: a loaded text need not meet the column's limits
            if (!byColumn.contains(c))
                byColumn.insert(c, checkValue(text, c));
            const Check &check = byColumn[c];
            if (check.ok)
                flx_->setTextMatrix(r, c, text);
            else
                refused.append({QPoint(c, r), check});
        }
    flx_->setMousePointer(GridControl::PointerDefault);
    reportRefused(refused);
}

} // namespace vnt
