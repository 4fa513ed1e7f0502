// Entering a record from the keyboard alone: the keys go where the window system sends them (the
// control with the focus), and the case checks where the value lands and which cell is next.
#include "InputFixture.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>

using namespace vnt;
using namespace vnt::test;

namespace {

// A key pressed and released on the control that has the focus.
void press(int key, const QString &text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *to = QApplication::focusWidget();
    ASSERT_TRUE(to) << "no control has the focus";
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(to, &down);
    if (QWidget *still = QApplication::focusWidget()) {
        QKeyEvent up(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(still, &up);
    }
    QCoreApplication::processEvents();
}

void type(const QString &s)
{
    for (QChar c : s)
        press(c.isDigit() ? Qt::Key_0 + c.digitValue() : int(c.toUpper().unicode()), QString(c));
}

QString at(GridControl *g) { return QStringLiteral("%1,%2").arg(g->Row()).arg(g->Col()); }

class KeyEntry : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        host = std::make_unique<TestHost>(ctx);
        host->window.show();
        QApplication::setActiveWindow(&host->window);
        w = showInputWindow(*host);
        QCoreApplication::processEvents();   // the window has settled into its frame
        w->txtKEN->setText(QStringLiteral("P1"));   // leaving an empty name box would ask for one
        w->SSTab->setCurrentIndex(1);
        g = w->msgFLX[0];
        g->setRow(1);
        g->setCol(1);
        g->setFocus();
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), g) << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
    }
    void TearDown() override
    {
        host.reset();
        InputTest::TearDown();
    }
    std::unique_ptr<TestHost> host;
    mdiEINGABE *w = nullptr;
    GridControl *g = nullptr;
};

} // namespace

// A value typed and ended with Enter or Tab lands in its cell and the next cell is current;
// so for a key typed into a choice cell, ended with Enter, Tab or Right at the end of its text.
TEST_F(KeyEntry, EnterTabAndRightCommitAndMoveOn)
{
    LocaleScope de(QLocale::German);   // the values below are typed and shown with a decimal comma
    struct Step {
        const char *what;
        QString typed;
        int key;
        Qt::KeyboardModifiers mods;
        int row, col;          // the cell typed into
        QString stored;        // what the cell holds after
        QString next;          // the current cell after
    };
    const Step steps[] = {
        {"value, Enter", "5", Qt::Key_Return, Qt::NoModifier, 1, 1, "5,000", "1,2"},
        {"value, Tab", "1,2", Qt::Key_Tab, Qt::NoModifier, 1, 2, "1,200", "1,3"},
        {"choice, Enter", "KI", Qt::Key_Return, Qt::NoModifier, 1, 3, "KI", "1,4"},
        {"choice, Tab", "T2", Qt::Key_Tab, Qt::NoModifier, 1, 4, "T2", "1,5"},
        {"choice, Right at the end", "V1", Qt::Key_Right, Qt::NoModifier, 1, 5, "V1", "1,6"},
        {"choice, Shift+Tab", "L", Qt::Key_Backtab, Qt::ShiftModifier, 1, 6, "L", "1,5"},
        {"value in the last cell, Enter: nothing further to move to", "3", Qt::Key_Return, Qt::NoModifier, 1, 8, "3", "1,8"},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.what);
        g->setRow(s.row);
        g->setCol(s.col);
        g->setFocus();
        type(s.typed);
        press(s.key, {}, s.mods);
        EXPECT_EQ(g->TextMatrix(s.row, s.col), s.stored);
        EXPECT_EQ(at(g), s.next);
        EXPECT_TRUE(w->txtFLX[0]->isHidden());
        EXPECT_TRUE(w->cboFLX0->isHidden());
        EXPECT_EQ(QApplication::focusWidget(), g);
    }
    EXPECT_EQ(g->Rows(), 2);   // no key above added a section
}

// A value the column refuses keeps the editor open over its cell after the message; the cell
// stays current.
TEST_F(KeyEntry, RefusedValueStaysInItsCell)
{
    boxes.answer(ui::vbOK);
    type(QStringLiteral("x"));
    press(Qt::Key_Return);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_FALSE(w->txtFLX[0]->isHidden());
    EXPECT_EQ(at(g), "1,1");
    EXPECT_EQ(g->TextMatrix(1, 1), "");
}

// Tab and Shift+Tab move through the cells row after row; past the last cell Tab leaves the
// grid for the row buttons.
TEST_F(KeyEntry, TabWalksTheCellsAndLeavesAfterTheLast)
{
    w->cmdH_Click(0);   // a second section
    g->setRow(1);
    g->setCol(8);
    g->setFocus();
    press(Qt::Key_Tab);
    EXPECT_EQ(at(g), "2,1");   // the section number is no cell to stop in
    press(Qt::Key_Backtab, {}, Qt::ShiftModifier);
    EXPECT_EQ(at(g), "1,8");
    g->setCol(2);
    press(Qt::Key_Return);     // Enter on the grid itself, away from its last cell, moves on too
    EXPECT_EQ(at(g), "1,3");
    EXPECT_EQ(g->Rows(), 3);
    g->setRow(2);
    g->setCol(8);
    press(Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), g);
    EXPECT_TRUE(w->fraREITER[1]->isAncestorOf(QApplication::focusWidget()));
}

// Down on the last row adds a section to every grid once the row holds something, and stays in
// its column; an empty last row gets no empty row after it. Enter on the last cell appends as
// before.
TEST_F(KeyEntry, DownOnTheLastRowAddsASection)
{
    press(Qt::Key_Down);
    EXPECT_EQ(g->Rows(), 2);   // the only row is empty
    type(QStringLiteral("4"));
    press(Qt::Key_Return);
    g->setCol(1);
    press(Qt::Key_Down);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w->msgFLX[size_t(i)]->Rows(), 3) << i;
    EXPECT_EQ(at(g), "2,1");
    EXPECT_EQ(g->TextMatrix(2, 0), "1");
    press(Qt::Key_Down);
    EXPECT_EQ(g->Rows(), 3);

    g->setCol(8);
    press(Qt::Key_Return);   // Enter on the grid's last cell
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w->msgFLX[size_t(i)]->Rows(), 4) << i;
}
