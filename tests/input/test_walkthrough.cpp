// Faults met while working in the real input window with mouse and keyboard: each case drives
// the widgets the way the window system does and checks what the user would see.
#include "InputFixture.h"
#include "frame/frmAUSWAHL.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMouseEvent>

using namespace vnt;
using namespace vnt::test;

namespace {

QPoint cellCentre(GridControl *g, int row, int col)
{
    // cellRect is in grid coordinates; mouse events go to the viewport
    const QRect r = g->cellRect(row, col);
    return g->viewport()->mapFrom(g, r.center());
}

void mouse(GridControl *g, QEvent::Type type, QPoint at)
{
    QWidget *v = g->viewport();
    const bool down = type != QEvent::MouseButtonRelease;
    QMouseEvent e(type, QPointF(at), QPointF(v->mapToGlobal(at)), Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(v, &e);
}

// The events a window system sends for a click and for a double click.
void click(GridControl *g, QPoint at)
{
    mouse(g, QEvent::MouseButtonPress, at);
    mouse(g, QEvent::MouseButtonRelease, at);
}

void doubleClick(GridControl *g, QPoint at)
{
    click(g, at);
    mouse(g, QEvent::MouseButtonDblClick, at);
    mouse(g, QEvent::MouseButtonRelease, at);
}

} // namespace

// A double click opens the cell editor; the release that ends it must not commit the editor
// again at once, or a double click could never edit a cell.
TEST_F(InputTest, DoubleClickLeavesTheCellEditorOpen)
{
    mdiEINGABE w(ctx);
    w.resize(1000, 700);
    w.show();
    w.SSTab->setCurrentIndex(1);
    GridControl *g = w.msgFLX[0];
    g->setTextMatrix(1, 1, QStringLiteral("5,500"));
    struct Case { int col; QWidget *editor; };
    const Case cases[] = {{1, w.txtFLX[0]}, {3, w.cboFLX0}};   // a value column and a choice column
    for (const Case &c : cases) {
        SCOPED_TRACE(c.col);
        doubleClick(g, cellCentre(g, 1, c.col));
        EXPECT_FALSE(c.editor->isHidden());
        if (c.col == 1)
            EXPECT_EQ(w.txtFLX[0]->text(), "5,500");   // opened on the cell's text
        // a later single click on the grid still commits it
        click(g, cellCentre(g, 1, 2));
        EXPECT_TRUE(c.editor->isHidden());
    }
    EXPECT_EQ(g->TextMatrix(1, 1), QStringLiteral("5,500"));
}

// Restoring or maximising the input window is no move of the user's away from the name box:
// it must neither ask for the record name nor leave the focus elsewhere.
TEST_F(InputTest, RestoringTheWindowDoesNotCheckTheName)
{
    TestHost host(ctx);
    host.window.show();
    QApplication::setActiveWindow(&host.window);
    mdiEINGABE *w = showInputWindow(host);
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    ASSERT_TRUE(sub);
    sub->showMaximized();
    w->txtKEN->setFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), w->txtKEN);
    sub->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), w->txtKEN);
    sub->showMaximized();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), w->txtKEN);
    EXPECT_TRUE(boxes.records().empty());
    // leaving the empty name box for another control still asks
    boxes.answer(ui::vbOK);
    w->txtKOM->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), w->txtKEN);
}

// New shows "-" in panel 6; discarding the new record must show the active records again,
// which the evaluate commands still work on.
TEST_F(InputTest, DiscardingANewRecordShowsTheActiveRecordsAgain)
{
    exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'P1', 1)"));
    TestHost host(ctx);
    host.PANELDATENSATZ();
    ASSERT_EQ(host.panel6, "P1");
    mnuNEU_Click(host);
    EXPECT_EQ(host.panel6, "-");
    panelAbbrechen(host);
    EXPECT_EQ(host.panel6, "P1");
    EXPECT_FALSE(host.inputState);
}

// Open keeps the marks its dialog wrote also when the user gives up at the note that more
// than one (or no) record is chosen; panel 6 must then show those marks.
TEST_F(InputTest, OpenGivenUpAtTheNoteShowsTheMarksTheDialogWrote)
{
    exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'A', 1), (2, 'B', 0), (3, 'C', 0)"));
    TestHost host(ctx);
    host.PANELDATENSATZ();
    ASSERT_EQ(host.panel6, "A");
    struct Case { std::vector<int> chosen; const char *note, *panel6; };
    const Case cases[] = {{{1, 2}, "Es kann nur ein aktueller Datensatz geöffnet werden!", "B,C"},
                          {{}, "Es gibt keinen aktuellen Datensatz!", "-"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.note);
        Boxes b;
        b.modal([&](QDialog &d) {
            auto &a = dynamic_cast<frmAUSWAHL &>(d);
            a.lstKEN->clearSelection();
            for (int row : c.chosen)
                a.lstKEN->item(row)->setSelected(true);
            a.cmdOK_Click();
            return int(QDialog::Accepted);
        });
        b.answer(ui::vbCancel);
        mnuOEFFNEN_Click(host);
        ASSERT_EQ(b.records().size(), 2u);
        EXPECT_EQ(b.records()[1].text, QString::fromUtf8(c.note));
        EXPECT_EQ(host.panel6, c.panel6);
        EXPECT_EQ(inputWindow(host.area), nullptr);
    }
}
