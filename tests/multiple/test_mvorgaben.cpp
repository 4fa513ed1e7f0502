// The combination editor: its choice lists, and M2 through load, OK and Abbrechen.
#include "MultipleFixture.h"
#include "common/Shots.h"
#include "pages/multiple/frmMVORGABEN.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

using namespace vnt;
using namespace vnt::test;

namespace {

// Rigs numbered 0..4, casings with a doubled number, no cutting tools, two conveying tools.
const char *kPresets = R"(
INSERT INTO VANT_V11 (IDT, KENT) VALUES (3, 'T3'), (0, 'T0'), (1, 'T1'), (2, 'T2'), (4, 'T4');
INSERT INTO VANT_V12 (IDV, KENV) VALUES (1, 'V1'), (2, 'V2a'), (2, 'V2b');
INSERT INTO VANT_V14 (IDF, KENF) VALUES (0, 'F0'), (1, 'F1');
INSERT INTO VANT_V2 (IDG, KENG) VALUES (0, 'S'), (1, 'KI');
)";

const QString kM2 = QStringLiteral("SELECT IDM, I1, KENG, KENT, KENV, KENL, KENF FROM M2 ORDER BY IDM, I1");

} // namespace

class MVorgaben : public MultipleTest {
protected:
    void SetUp() override
    {
        MultipleTest::SetUp();
        cnnV->Execute(QString::fromLatin1(kPresets));
    }
    int firstRow(const frmMVORGABEN &f) const { return f.msgFLX()->FixedRows(); }
};

TEST_F(MVorgaben, ChoiceListsHoldUniqueKeysInNumberOrderThenEmptyEntries)
{
    frmMVORGABEN f(ctx);
    const auto &l = f.lists();
    EXPECT_EQ(l[0], QStringList({"S", "KI", ""}));
    EXPECT_EQ(l[1], QStringList({"T0", "T1", "T2", "T3", "T4", ""}));
    EXPECT_EQ(l[2], QStringList({"V1", "", "", ""}));   // a doubled number names neither key
    EXPECT_EQ(l[3], QStringList({""}));                 // empty table
    EXPECT_EQ(l[4], QStringList({"F0", "F1", ""}));
}

TEST_F(MVorgaben, OkStoresTheGridAndAbbrechenKeepsM2)
{
    cnn->Execute(QStringLiteral("INSERT INTO M2 (IDM, I1, KENG, KENT) VALUES (1, 1, 'KI', NULL), (1, 0, 'S', 'T1');"
                                "INSERT INTO M2 (IDM, I1, KENF) VALUES (1, 2, 'F0'), (2, 0, 'F1');"));
    const QString stored = rows(kM2);
    {
        frmMVORGABEN f(ctx);
        const int r = firstRow(f);
        EXPECT_TRUE(f.msgFLX()->Enabled());
        EXPECT_EQ(f.msgFLX()->TextMatrix(r, 1), "S");
        EXPECT_EQ(f.msgFLX()->TextMatrix(r + 1, 1), "KI");
        EXPECT_EQ(f.msgFLX()->TextMatrix(r + 2, 5), "F0");
        f.msgFLX()->setTextMatrix(r + 1, 3, QStringLiteral("V1"));
        f.cmdABBRECHEN()->click();
        EXPECT_EQ(f.result(), QDialog::Rejected);
    }
    EXPECT_EQ(rows(kM2), stored);

    frmMVORGABEN f(ctx);
    const int r = firstRow(f);
    f.msgFLX()->setTextMatrix(r + 1, 3, QStringLiteral("V1"));
    f.msgFLX()->setTextMatrix(r, 2, QString());
    f.msgFLX()->setRow(r + 2);
    f.msgFLX()->setCol(1);
    f.cmdW()->click();   // the third combination goes
    f.cmdOK()->click();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(rows(kM2), "1;0;S;Null;Null;Null;Null|1;1;KI;Null;V1;Null;Null|2;0;Null;Null;Null;Null;F1");

    // Opened again, the editor shows the two stored combinations and nothing of the third.
    frmMVORGABEN again(ctx);
    again.show();
    QApplication::processEvents();
    const QImage shot = shotOf(again);
    EXPECT_TRUE(keepShot(shot, QStringLiteral("mvorgaben")));
    GridControl &g = *again.msgFLX();
    ASSERT_EQ(g.Rows(), r + 2);
    auto cell = [&](int row, int col) { return inWindow(again, g, g.cellRect(row, col).adjusted(2, 2, -2, -2)); };
    EXPECT_GT(inkIn(shot, cell(r, 1)), 10);       // S
    EXPECT_GT(inkIn(shot, cell(r + 1, 3)), 10);   // V1
    EXPECT_EQ(inkIn(shot, cell(r, 3)), 0);
    const QRect below = cell(r + 1, 1).translated(0, g.cellRect(r + 1, 1).height());
    EXPECT_EQ(inkIn(shot, below), 0);
}

// The aggregation compares keys exactly, letter case included: a key is stored as typed,
// neither completed from the list nor re-cased to an entry of it.
TEST_F(MVorgaben, TypedKeysAreStoredAsTyped)
{
    cnnV->Execute(QStringLiteral("INSERT INTO VANT_V2 (IDG, KENG) VALUES (2, 'KST');"));
    const QStringList typed = {"ks", "s", "KI", "K"};
    frmMVORGABEN f(ctx);
    f.show();
    GridControl &g = *f.msgFLX();
    f.cmdH()->click();
    for (int i = 1; i < typed.size(); ++i) {
        g.setRow(g.Rows() - 1);
        g.setCol(1);
        f.cmdH()->click();
    }
    for (int i = 0; i < typed.size(); ++i) {
        g.setRow(firstRow(f) + i);
        g.setCol(1);
        g.setFocus();
        const QString &t = typed[i];
        QKeyEvent first(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, t.left(1));
        QApplication::sendEvent(&g, &first);   // opens the choice list with the key typed
        ASSERT_TRUE(f.cboFLX()->isVisible());
        for (const QChar ch : t.mid(1)) {
            QKeyEvent k(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(f.cboFLX()->lineEdit(), &k);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(f.cboFLX()->lineEdit(), &enter);
        f.cmdW()->setFocus();   // commits like a click elsewhere
        f.flx().EINFUEGEN(0);
    }
    f.cmdOK()->click();
    EXPECT_EQ(rows("SELECT KENG FROM M2 ORDER BY I1"), "ks|s|KI|K");
}

// The header picture lies over the grid's header, not over the rows: the first row in view
// stands whole below it, also after scrolling and after rows were added.
TEST_F(MVorgaben, RowsInViewAreNotHiddenUnderTheHeader)
{
    cnn->Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 39)"
                                " INSERT INTO M2 (IDM, I1, KENG) SELECT 1, i, 'S' FROM n;"));
    frmMVORGABEN f(ctx);
    f.show();
    QApplication::processEvents();
    GridControl &g = *f.msgFLX();
    const QWidget *pic = f.picFLX();
    for (const int steps : {0, 7, 20, -1}) {
        SCOPED_TRACE(steps);
        if (steps < 0)
            f.cmdH()->click();
        else
            g.verticalScrollBar()->setValue(steps);
        QApplication::processEvents();
        EXPECT_TRUE(keepShot(shotOf(f), QStringLiteral("mvorgaben-scrolled-%1").arg(steps)));
        const int rowsTop = g.viewport()->mapTo(&f, QPoint(0, 0)).y();
        const int picBottom = pic->mapTo(&f, QPoint(0, pic->height())).y();
        EXPECT_LE(picBottom, rowsTop);
        EXPECT_GE(pic->height(), g.horizontalHeader()->height() - 2) << "the picture still covers the header";
    }
}

TEST_F(MVorgaben, EmptyListStartsDisabledAndRemovingTheLastRowDeletesAll)
{
    {
        frmMVORGABEN f(ctx);
        EXPECT_FALSE(f.msgFLX()->Enabled());
        f.cmdOK()->click();
    }
    EXPECT_EQ(rows(kM2), "");

    {
        frmMVORGABEN f(ctx);
        f.cmdH()->click();   // makes the single row a combination that matches everything
        EXPECT_TRUE(f.msgFLX()->Enabled());
        f.cmdOK()->click();
    }
    EXPECT_EQ(rows(kM2), "1;0;Null;Null;Null;Null;Null");

    frmMVORGABEN f(ctx);
    f.cmdW()->click();
    EXPECT_FALSE(f.msgFLX()->Enabled());
    f.cmdOK()->click();
    EXPECT_EQ(rows(kM2), "");
}

TEST_F(MVorgaben, WindowKeysReachTheMainWindowAndLeaveTheEditorOpen)
{
    frmMVORGABEN f(ctx);
    int quits = 0, helps = 0;
    f.onQuit = [&] { ++quits; };
    f.onHelp = [&] { ++helps; };
    f.show();
    auto press = [&](Qt::Key key, Qt::KeyboardModifiers mods) {
        QKeyEvent e(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(f.msgFLX(), &e);
    };
    press(Qt::Key_Escape, Qt::NoModifier);
    press(Qt::Key_F1, Qt::NoModifier);
    EXPECT_EQ(ctx.panelClicks, QList<int>({9}));
    EXPECT_EQ(helps, 1);
    EXPECT_TRUE(f.isVisible());

    // Abbrechen in the quit's question keeps the editor with what was typed.
    f.cmdH()->click();
    f.msgFLX()->setTextMatrix(firstRow(f), 1, QStringLiteral("KI"));
    ctx.quitAnswer = false;
    press(Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(ctx.quitQuestions, 1);
    EXPECT_EQ(quits, 0);
    EXPECT_FALSE(f.quitRequested());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.msgFLX()->TextMatrix(firstRow(f), 1), "KI");

    // A confirmed quit leaves the editor first, without storing anything.
    ctx.quitAnswer = true;
    press(Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(ctx.quitQuestions, 2);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(f.quitRequested());
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_FALSE(f.isVisible());
}

TEST_F(MVorgaben, AFailedLoadIsToldOnceInTheAccessorsWordsAndLeavesNothingToEdit)
{
    cnn->Execute(QStringLiteral("INSERT INTO M2 (IDM, I1, KENG, KENT) VALUES (1, 0, 'S', 'T1'), (1, 1, 'KI', NULL);"));
    const QString stored = rows(kM2);
    // The table cannot be read while the editor loads, and could be written by the time of OK.
    cnn->Execute(QStringLiteral("ALTER TABLE M2 RENAME TO M2X"));
    boxes.answer(ui::vbOK);
    frmMVORGABEN f(ctx);
    cnn->Execute(QStringLiteral("ALTER TABLE M2X RENAME TO M2"));
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "Datenfehler");
    EXPECT_EQ(boxes.records()[0].text, "Wert  kann nicht aus der Spalte I1 der Tabelle M2 eingelesen werden!");
    EXPECT_TRUE(f.combinationsUnreadable());

    // Nothing typed could be stored: the grid and its row buttons take no input.
    f.show();
    QApplication::processEvents();
    EXPECT_TRUE(keepShot(shotOf(f), QStringLiteral("mvorgaben-unreadable")));
    EXPECT_FALSE(f.msgFLX()->Enabled());
    EXPECT_FALSE(f.cmdH()->isEnabled());
    EXPECT_FALSE(f.cmdW()->isEnabled());
    f.cmdOK()->click();
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(rows(kM2), stored);
    EXPECT_EQ(boxes.records().size(), 1u);
}

// Opened, the editor has the keyboard in its grid: the arrow keys move the current cell and a
// key typed starts that cell's choice, with no Tab or click first. With no combination yet the
// grid takes nothing, and the keyboard is on the button that makes the first row.
TEST_F(MVorgaben, OpensWithTheKeyboardInTheGridsCurrentCell)
{
    {
        cnn->Execute(QStringLiteral("INSERT INTO M2 (IDM, I1, KENG) VALUES (1, 0, 'S'), (1, 1, 'KI');"));
        frmMVORGABEN f(ctx);
        f.show();
        f.activateWindow();
        QApplication::processEvents();
        GridControl &g = *f.msgFLX();
        ASSERT_EQ(QApplication::focusWidget(), &g);
        const int row = g.Row(), col = g.Col();
        EXPECT_EQ(row, firstRow(f));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        EXPECT_EQ(g.Row(), row + 1);
        EXPECT_EQ(g.Col(), col + 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_K);
        EXPECT_TRUE(f.cboFLX()->isVisible()) << "a key typed opens the cell's choice";
        f.cmdABBRECHEN()->click();
    }
    cnn->Execute(QStringLiteral("DELETE FROM M2;"));
    frmMVORGABEN f(ctx);
    f.show();
    f.activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), f.cmdH());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(f.msgFLX()->isEnabled()) << "the first row is made from the keyboard";
    f.cmdABBRECHEN()->click();
}
