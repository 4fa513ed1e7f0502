// The table procedure every result page draws its text tables with.
#include "pages/common/TextTable.h"

#include "drawing/clsTABELLE.h"
#include "pages/common/ResultPage.h"
#include "platform/Guard.h"
#include "platform/errors.h"

#include <QScrollBar>

namespace vnt {

namespace {

// The title, on paper with the rows it shows of a longer body.
QString titleOf(const TextTable &t, const clsTABELLE &x)
{
    const int rows = t.body.dimensioned() ? t.body.rows() : 0;
    if (t.printedRowsInTitle && x.EOBJEKT() && x.EOBJEKT()->isPrinter() && rows > 0
        && (x.EEZ() > 0 || x.ELZ() < rows - 1))
        return t.title + QStringLiteral(" (Zeilen %1 bis %2 von %3)").arg(x.EEZ() + 1).arg(x.ELZ() + 1).arg(rows);
    return t.title;
}

} // namespace

void ResultPage::drawTable(const TextTable &t, int OBJ, float XDL, float YDO, bool clear)
{
    DrawingScope busy(*this);
    Guard guard(QStringLiteral("VB-Fehler: "),
                t.errorTitle.isEmpty() ? QStringLiteral("Bild ") + QString::number(t.number) : t.errorTitle);
    PictureBox *box = pictureBox(t.box);
    QScrollBar *bar = scrollBar(t.scrollBar);
    FigureSlot &slot = figureSlot(t.number);
    if (OBJ == 0 && clear && !guard.step([&] { clearBox(box); }))
        return;
    // A redraw that has no object of its own yet draws into its box, over what the box shows,
    // on the pages that allow it.
    if (OBJ != 0 && OBJ != 1 && !slot.tabelle && redrawWithoutObjectIntoBox())
        OBJ = 0;
    if ((OBJ == 0 || OBJ == 1) && !guard.step([&] {
            slot.tabelle = std::make_unique<clsTABELLE>();
            slot.sheet.reset();
        }))
        return;
    clsTABELLE *x = slot.tabelle.get();
    const auto step = [&](const std::function<void()> &f) {
        return guard.step([&] {
            if (!x)
                vnt::raise(91);
            f();
        });
    };
    if (!step([&] {
            if (OBJ == 0) {
                x->EOBJEKT(box);
                x->EXDL(0);
                x->EYDO(0);
            } else if (OBJ == 1) {
                slot.sheet = figureSheet();
                x->EOBJEKT(slot.sheet.get());
                const QRectF mm = boxRectMm(box);
                x->EXDL(mm.left() + XDL);
                x->EYDO(mm.top() + YDO);
            }
        }))
        return;
    if ((OBJ == 0 || OBJ == 1) && !step([&] {
            if (!box)
                vnt::raise(91);
            x->EYBALKEN(bar, *box);
        }))
        return;
    const std::function<void()> steps[] = {
        [&] {
            x->ERZ(0.5);
            x->ERL(t.marginLeft);
            x->ERO(7);
            x->ERU(t.marginBottom);
        },
        [&] {
            x->ELSB(t.widths);
            x->ELGIT(t.rules);
            x->ELGITLEER(t.ruleGaps);
            x->EZA(1);
            x->ELA(t.alignments);
            x->ELFORMAT(t.formats);
            x->setRunOnTexts(t.runOnTexts);
        },
        [&] { x->LINIENEINSTELLUNGEN(0, 0, 0); },
        [&] { x->SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0); },
        [&] {
            x->TABELLE(t.head, 0);
            if (t.headAloneWithoutRows && t.body.dimensioned() && t.body.rows() == 0) {
                if (OBJ == 0 && bar)
                    bar->hide();
            } else {
                x->TABELLE(t.body, 1);
            }
        },
        [&] { x->SCHRIFTEINSTELLUNGEN(QString(), 0, -1, 0, 0, 0); },
        [&] { x->TITEL(Variant(titleOf(t, *x))); },
        [&] { x->SCHRIFTEINSTELLUNGEN(QString(), int16_t(t.footnoteSize), 0, 0, 0, 0); },
        [&] { x->FUSSNOTE(Variant(t.footnote)); },
        [&] { x->SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0); },
    };
    for (const auto &s : steps)
        if (!step(s))
            return;
    if (OBJ == 0 && box)
        box->surface().flush();
}

} // namespace vnt
