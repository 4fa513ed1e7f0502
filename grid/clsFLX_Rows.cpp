// The typed grid's rows across a chain of grids, the column tooltip and the row filter.
#include "grid/clsFLX.h"
#include "grid/GridText.h"
#include "platform/Guard.h"
#include "platform/NumberFormat.h"
#include "platform/errors.h"
#include "platform/ui.h"
#include <QApplication>
#include <cmath>

namespace vnt {

namespace {
const QString kPrefix = QStringLiteral("VB-Error: ");

QColor windowBackground() { return QApplication::palette().color(QPalette::Base); }
} // namespace

void clsFLX::ZEILEEINFUEGEN()
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / Zeile einfügen"));
    g.step([&] {
        requireGrid();
        if (!flx_->Enabled()) {
            // an empty grid already shows its one row: it only becomes editable
            flx_->setBackColor(windowBackground());
            flx_->setEnabled(true);
        } else {
            const int row = std::max(flx_->Row(), flx_->FixedRows());
            flx_->insertRow(row - flx_->FixedRows());
            flx_->setRow(row);
        }
    });
    g.step([&] { NUMMERIEREN(); });
    g.step([&] {
        if (flxk_ && flxk_->flx_)
            flxk_->ZEILEEINFUEGEN();
    });
}

void clsFLX::ZEILEENTFERNEN()
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / Zeile eintfernen"));
    g.step([&] {
        requireGrid();
        const int fixed = flx_->FixedRows();
        if (flx_->Rows() > fixed + 1) {
            const int row = std::max(flx_->Row(), fixed);
            flx_->removeRow(row - fixed);
            flx_->setRow(std::min(row, flx_->Rows() - 1));
            NUMMERIEREN();
        } else if (flx_->Rows() == fixed + 1) {
            for (int c = 0; c < flx_->Cols(); ++c)
                flx_->setTextMatrix(fixed, c, QString());
            flx_->setBackColor(flx_->BackColorFixed());
            flx_->setEnabled(false);
        }
    });
    g.step([&] {
        if (flxk_ && flxk_->flx_)
            flxk_->ZEILEENTFERNEN();
    });
}

void clsFLX::TOOLTIP(float X, float /*Y*/)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / ToolTip"));
    g.step([&] {
        requireGrid();
        float w = 0;
        QString tip;
        for (int c = 0; c < flx_->Cols(); ++c) {
            if (!flx_->ColIsVisible(c))
                continue;
            w += float(flx_->ColWidth(c));
            if (w > X) {
                tip = lsttt_.at(c).text();
                break;
            }
        }
        flx_->setToolTip(tip);
        if (pic_)
            pic_->setToolTip(tip);
    });
}

void clsFLX::ZEILENFILTER()
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / Zeilenfilter"));
    const QString title = QStringLiteral("Zeilenfilter");
    const QString boxTitle = QStringLiteral("MSFlexGrid / Zeilenfilter");
    const int boxStyle = ui::vbOKCancel | ui::vbExclamation;
    // Asks until the answer passes; false when the user gave up on the message.
    auto ask = [&](const QString &prompt, const QString &def, const QString &wrong, auto accept) {
        for (;;) {
            const QString answer = ui::InputBox(prompt, title, def);
            const auto v = gridtext::readNumber(answer);
            if (v && accept(std::floor(*v)))
                return true;
            if (ui::MsgBox(wrong, boxStyle, boxTitle) != ui::vbOK)
                return false;
        }
    };
    double first = 0, last = 0, count = 0;
    bool asked = false;
    g.step([&] {
        requireGrid();
        if (!ask(QStringLiteral("Erste Zeile: "), QStringLiteral("0"), QStringLiteral("Ungültige Angabe für die Nummer der ersten Zeile!"),
                 [&](double v) { first = v; return true; }))
            return;
        if (!ask(QStringLiteral("Letzte Zeile: "), QString::number(flx_->Rows() - 2),
                 QStringLiteral("Ungültige Angabe für die Nummer der letzten Zeile!"), [&](double v) { last = v; return true; }))
            return;
        if (!ask(QStringLiteral("Reduzierte Zeilenanzahl: "), QString::number(last - first),
                 QStringLiteral("Ungültige Angabe für die Nummer der letzten Zeile!"),
                 [&](double v) { count = v; return v >= 1 && v <= last - first; }))
            return;
        asked = true;
    });
    if (!asked || g.left())
        return;
    int step = 1;
    g.step([&] { step = int(RoundHalfEven((last - first) / count)); });
    g.step([&] {
        for (int r = int(last); r >= int(first); --r) {
            if (r % step != 0) {
                if (r < flx_->FixedRows() || r >= flx_->Rows())
                    raise(381, QStringLiteral("Subscript out of range"));
                flx_->removeRow(r - flx_->FixedRows());
            }
        }
    });
    g.step([&] { AKTUALISIEREN(); });
    g.step([&] { NUMMERIEREN(); });
}

} // namespace vnt
